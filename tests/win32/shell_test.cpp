// The program's start: the common controls its manifest brings, the DLLs it
// takes, and a start without a version resource (its windows are the
// whole-program scenarios').
#include "platform/scoped_win32.h"
#include "report_test_support.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

// The manifest brings version 6 of the common controls into the process:
// the side-by-side assembly of this build's processor, not the system's
// version 5 (whose DllGetVersion this Wine's version 6 also gives).
TEST(Manifest, CommonControlsVersionSixOfThisProcessor)
{
    InitCommonControls();
    char path[MAX_PATH] = {};
    ASSERT_NE(GetModuleFileNameA(GetModuleHandleA("comctl32.dll"), path, MAX_PATH), 0u);
    const std::string loaded = CharLowerA(path);
    const std::string assembly = std::string(sizeof(void*) == 8 ? "\\amd64_" : "\\x86_") +
                                 "microsoft.windows.common-controls_6595b64144ccf1df_6.";
    EXPECT_NE(loaded.find(assembly), std::string::npos) << path;
}

// Without its version resource the program says so in a box, shows nothing
// else while it runs, and ends with -1 once the box is closed.
TEST(StartUp, MissingVersionResourceStopsWithInternalError)
{
    std::string commandLine = "\"" + WindowsPathFrom("KAVLO_UNVERSIONED_EXE") + "\"";
    ASSERT_NE(commandLine, "\"\"");
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));
    ScopedHandle program(process.hProcess), thread(process.hThread);
    HWND box = nullptr;  // its window exists a moment before its text is set
    for (int tries = 0; tries < 500 && !((box = FindWindowA(nullptr, "Internal Error")) && !MessageOf(box).empty());)
        Sleep(50), ++tries;
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageOf(box), "Internal Error:  Unable to read internal version information.");
    bool welcomeSeen = FindWindowA(nullptr, "Kavlo - Welcome") != nullptr;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    for (int tries = 0; tries < 2000 && WaitForSingleObject(program.Get(), 10) == WAIT_TIMEOUT; ++tries)
        welcomeSeen = welcomeSeen || FindWindowA(nullptr, "Kavlo - Welcome") != nullptr;
    ASSERT_EQ(WaitForSingleObject(program.Get(), 0), WAIT_OBJECT_0);
    EXPECT_FALSE(welcomeSeen);
    DWORD exitCode = 0;
    GetExitCodeProcess(program.Get(), &exitCode);
    EXPECT_EQ(exitCode, 0xFFFFFFFFu);
}

// Customers start kavlo.exe from their Downloads folder, where any web page
// may have saved a DLL: the program must take none of the DLLs it uses from
// its own folder, neither its imports nor the ones it loads itself.
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
    ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                               &startup, &process));
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
