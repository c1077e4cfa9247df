#include "platform/scoped_win32.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

std::string WindowsPath(const char* unixPath)
{
    std::string path = std::string("Z:") + unixPath;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

HWND WaitForWindow(const char* title, DWORD milliseconds)
{
    for (DWORD waited = 0; waited < milliseconds; waited += 50) {
        if (HWND window = FindWindowA(nullptr, title))
            return window;
        Sleep(50);
    }
    return nullptr;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM text)
{
    char className[32] = {};
    GetClassNameA(child, className, sizeof(className));
    if (lstrcmpiA(className, "Static") == 0) {
        char buffer[512] = {};
        GetWindowTextA(child, buffer, sizeof(buffer));
        if (buffer[0] != '\0')
            *reinterpret_cast<std::string*>(text) += buffer;
    }
    return TRUE;
}

} // namespace

TEST(StartUp, MissingVersionResourceStopsWithInternalError)
{
    const char* exe = std::getenv("KAVLO_UNVERSIONED_EXE");
    ASSERT_NE(exe, nullptr);
    std::string commandLine = "\"" + WindowsPath(exe) + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));
    ScopedHandle processHandle(process.hProcess);
    ScopedHandle threadHandle(process.hThread);

    HWND box = WaitForWindow("Internal Error", 20000);
    ASSERT_NE(box, nullptr);
    // The box's window exists a moment before its text is set.
    std::string text;
    for (int tries = 0; tries < 100 && text.empty(); ++tries) {
        Sleep(50);
        EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&text));
    }
    EXPECT_EQ(text, "Internal Error:  Unable to read internal version information.");
    // The welcome dialog never shows: not with the box, nor after it, until
    // the program has ended.
    bool welcomeSeen = FindWindowA(nullptr, "Kavlo - Welcome") != nullptr;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    DWORD waited = 0;
    while (WaitForSingleObject(processHandle.Get(), 10) == WAIT_TIMEOUT && (waited += 10) < 20000)
        welcomeSeen = welcomeSeen || FindWindowA(nullptr, "Kavlo - Welcome") != nullptr;
    ASSERT_EQ(WaitForSingleObject(processHandle.Get(), 0), WAIT_OBJECT_0);
    EXPECT_FALSE(welcomeSeen);
    DWORD exitCode = 0;
    GetExitCodeProcess(processHandle.Get(), &exitCode);
    EXPECT_EQ(exitCode, 0xFFFFFFFFu);
}
