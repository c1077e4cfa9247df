// The program's start: the common controls its manifest brings, and a start
// without a version resource (its windows are the whole-program scenarios').
#include "platform/scoped_win32.h"
#include "report_test_support.h"
#include "resource_ids.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cctype>
#include <string>
#include <utility>

// The manifest brings version 6 of the common controls into the process:
// the side-by-side assembly of this build's processor, not the system's
// version 5 (whose DllGetVersion this Wine's version 6 also gives).
TEST(Manifest, CommonControlsVersionSixOfThisProcessor)
{
    InitCommonControls();
    char path[MAX_PATH] = {};
    ASSERT_NE(GetModuleFileNameA(GetModuleHandleA("comctl32.dll"), path, MAX_PATH), 0u);
    std::string loaded = path;
    for (char& c : loaded)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
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
