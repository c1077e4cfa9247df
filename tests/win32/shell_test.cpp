// The program's windows: its resources, the main window's row clicks, and a
// start without a version resource (the About box and the main window's layout
// are the whole-program scenario's).
#include "app/logo_win32.h"
#include "app/main_window_win32.h"
#include "app/results.h"
#include "platform/scoped_win32.h"
#include "report_test_support.h"
#include "resource_ids.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cctype>
#include <string>
#include <utility>

namespace {

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

// The main window's template, with nothing of the main window's own handling.
HWND MainDialogTemplate()
{
    InitCommonControls();
    LoadLibraryA("Riched32.dll");
    return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN), nullptr, PlainDialogProc, 0);
}

} // namespace

TEST(Logo, JpegResourceDecodesToABitmap)
{
    HBITMAP logo = LoadImageResource(GetModuleHandleA(nullptr), IDR_LOGO_JPEG, "JPEG");
    ASSERT_NE(logo, nullptr);
    BITMAP info = {};
    ASSERT_NE(GetObjectA(logo, sizeof(info), &info), 0);
    EXPECT_EQ(std::make_pair(info.bmWidth, info.bmHeight), std::make_pair(600l, 150l));
    DeleteObject(logo);
    EXPECT_EQ(LoadImageResource(GetModuleHandleA(nullptr), 4242, "JPEG"), nullptr);
}

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

// A click on a row shows that row's details; a click beside the rows or past the stored records,
// and a selection moved by the keyboard (LVN_ITEMCHANGED), leave the pane as it was.
TEST(MainWindow, RowClickShowsThatRowsDetails)
{
    HWND dialog = MainDialogTemplate();
    ASSERT_NE(dialog, nullptr);
    const std::vector<TestResult> saved =
        std::exchange(g_results, {{nullptr, 'A', "", "", "first"}, {nullptr, 'F', "", "", "second"}, {}});
    const struct { UINT code; int row; const char* shown; } clicks[] = {
        {NM_CLICK, 1, "second"}, {NM_CLICK, -1, "second"}, {NM_CLICK, 3, "second"},
        {LVN_ITEMCHANGED, 0, "second"}, {NM_CLICK, 0, "first"}, {NM_CLICK, 2, ""}};
    for (const auto& c : clicks) {
        NMITEMACTIVATE click = {};
        click.hdr = {GetDlgItem(dialog, IDC_MAIN_RESULTS), IDC_MAIN_RESULTS, c.code};
        click.iItem = c.row;
        MainDialogProc(dialog, WM_NOTIFY, IDC_MAIN_RESULTS, reinterpret_cast<LPARAM>(&click));
        EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_MAIN_DETAILS)), c.shown) << c.code << " on row " << c.row;
    }
    g_results = saved;
    DestroyWindow(dialog);
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
