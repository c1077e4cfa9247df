// Customers start kavlo.exe from their Downloads folder, where any web page
// may have saved a DLL: the program must take none of the DLLs it uses from
// its own folder, neither its imports nor the ones it loads itself.
#include "platform/scoped_win32.h"
#include "report_test_support.h"

#include <gtest/gtest.h>

#include <string>

TEST(StartUp, TakesNoDllFromTheProgramsFolder)
{
    const std::string marker = WindowsPathFrom("KAVLO_DLL_MARKER"), exe = WindowsPathFrom("KAVLO_EXE");
    ASSERT_FALSE(marker.empty() || exe.empty());
    const std::string folder = TempPath("Downloads\\");
    CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(exe.c_str(), (folder + "kavlo.exe").c_str(), FALSE));
    const char* const names[] = {"version", "wininet", "dnsapi", "comctl32", "riched32",
                                 "riched20", "uxtheme", "mapi32", "netapi32"};
    // Wine prefers its own builtin DLLs to any file; Windows has none and
    // takes the first file it finds, so kavlo.exe is told to do the same.
    // Not version.dll nor uxtheme.dll: Wine's own user32 takes both as the
    // process starts, before the program's first line.
    ScopedRegKey overrides;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\kavlo.exe\\DllOverrides", 0, nullptr,
                              0, KEY_SET_VALUE, nullptr, overrides.Receive(), nullptr), ERROR_SUCCESS);
    for (const char* name : names) {
        DeleteFileA((folder + name + ".dll.loaded").c_str());
        ASSERT_TRUE(CopyFileA(marker.c_str(), (folder + name + ".dll").c_str(), FALSE)) << name;
        if (std::string(name) != "version" && std::string(name) != "uxtheme")
            RegSetValueExA(overrides.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>("native,builtin"), 15);
    }

    std::string commandLine = "\"" + folder + "kavlo.exe\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    const BOOL started = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                        folder.c_str(), &startup, &process);
    ASSERT_TRUE(started);
    ScopedHandle program(process.hProcess), thread(process.hThread);
    HWND welcome = nullptr;
    for (int tries = 0; tries < 300 && !(welcome = FindWindowA("#32770", "Kavlo - Welcome")); ++tries)
        if (WaitForSingleObject(program.Get(), 50) != WAIT_TIMEOUT)
            break;
    if (welcome != nullptr)
        Press(welcome, IDCANCEL);
    if (WaitForSingleObject(program.Get(), 10000) != WAIT_OBJECT_0)
        TerminateProcess(program.Get(), 1), WaitForSingleObject(program.Get(), 5000);

    std::string loaded;
    for (const char* name : names)
        if (GetFileAttributesA((folder + name + ".dll.loaded").c_str()) != INVALID_FILE_ATTRIBUTES)
            loaded += std::string(name) + " ";
    EXPECT_EQ(loaded, "");
    EXPECT_NE(welcome, nullptr) << "the welcome dialog never showed";
}
