#include "app/error_text_win32.h"

#include "app/test_runner_win32.h"
#include "app/text_format.h"
#include "platform/scoped_win32.h"
#include "platform/system_library_win32.h"

#include <winsock2.h>

#include <vector>

bool FormatErrorText(uint32_t code, std::string& text)
{
    text.clear();
    DWORD flags = FORMAT_MESSAGE_IGNORE_INSERTS;
    HMODULE source = nullptr;
    if (code >= 12000 && code < 13000) {
        // WinINet's table, from the module the process already uses.
        source = GetModuleHandleA("wininet.dll");
        flags |= FORMAT_MESSAGE_FROM_HMODULE;
    } else {
        flags |= FORMAT_MESSAGE_FROM_SYSTEM;
    }
    std::vector<char> buffer(8192, 0);
    const DWORD length =
        FormatMessageA(flags, source, code, 0, buffer.data(), static_cast<DWORD>(buffer.size()), nullptr);
    if (length == 0)
        return false;
    text = DropFinalLineFeed(std::string(buffer.data(), length));
    return true;
}

void ShowLastErrorBox(const char* /*stepLabel*/)
{
    // Taken first, before any other call can change it.
    const DWORD code = static_cast<DWORD>(WSAGetLastError());
    // The user has closed the program: nothing more is shown.
    if (TestRunAbandoned())
        return;
    char* text = nullptr;
    DWORD length = 0;
    {
        ScopedLibrary wininet(LoadSystemLibrary("wininet.dll"));
        // Texts such as that of error 193 hold "%1" inserts, and there are
        // no arguments to fill them: they are shown as they stand.
        length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                    FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS,
                                wininet.Get(), code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                reinterpret_cast<char*>(&text), 0, nullptr);
    }
    if (length != 0 && text != nullptr) {
        MessageBoxA(nullptr, text, "Error Message", MB_ICONINFORMATION);
        LocalFree(text);
    } else {
        MessageBoxA(nullptr, "Unable to format message", "Error", MB_ICONEXCLAMATION);
    }
}
