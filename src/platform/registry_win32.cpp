#include "platform/registry_win32.h"

#include "platform/registry_text.h"
#include "platform/scoped_win32.h"
#include "platform/wow64_win32.h"

#include <vector>

std::optional<std::string> ReadRegValueText(HKEY key, const char* valueName)
{
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    if (type != REG_SZ && type != REG_DWORD)
        return std::nullopt;
    if (type == REG_DWORD)
        size = sizeof(DWORD);
    // One byte more than asked, so that a text stored without its terminator
    // still fits; the value may also grow between the two queries, which
    // RegQueryValueExA then reports as a failure.
    std::vector<uint8_t> data(size + 1, 0);
    DWORD read = size;
    if (RegQueryValueExA(key, valueName, nullptr, &type, data.data(), &read) != ERROR_SUCCESS)
        return std::nullopt;
    return RegistryDataAsText(type, data.data(), read);
}

REGSAM NativeViewReadAccess()
{
    return KEY_READ | (IsRunningUnderWow64() ? KEY_WOW64_64KEY : 0);
}

std::optional<std::string> ReadRegKeyValueText(HKEY root, const char* subKey, const char* valueName)
{
    ScopedRegKey key;
    if (RegOpenKeyExA(root, subKey, 0, NativeViewReadAccess(), key.Receive()) != ERROR_SUCCESS)
        return std::nullopt;
    return ReadRegValueText(key.Get(), valueName);
}
