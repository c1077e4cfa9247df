#include "app/about_box_win32.h"
#include "app/app_globals_win32.h"
#include "app/logo_win32.h"
#include "app/main_window_win32.h"
#include "app/results.h"
#include "app/settings.h"
#include "resource_ids.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <utility>
#include <vector>

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

RECT ClientRectOf(HWND dialog, int id)
{
    RECT r = {};
    GetWindowRect(GetDlgItem(dialog, id), &r);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

} // namespace

TEST(Logo, JpegResourceDecodesToABitmap)
{
    HBITMAP logo = LoadImageResource(GetModuleHandleA(nullptr), IDR_LOGO_JPEG, "JPEG");
    ASSERT_NE(logo, nullptr);
    BITMAP info = {};
    ASSERT_NE(GetObjectA(logo, sizeof(info), &info), 0);
    EXPECT_EQ(info.bmWidth, 600);
    EXPECT_EQ(info.bmHeight, 150);
    DeleteObject(logo);
    EXPECT_EQ(LoadImageResource(GetModuleHandleA(nullptr), 4242, "JPEG"), nullptr);
}

TEST(DialogTitle, KavloPrefixAndIcon)
{
    InitCommonControls();
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), nullptr,
                                     PlainDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    SetDialogTitle(dialog, "Progress");
    char title[128] = {};
    GetWindowTextA(dialog, title, sizeof(title));
    EXPECT_STREQ(title, "Kavlo - Progress");
    EXPECT_NE(SendMessageA(dialog, WM_GETICON, ICON_BIG, 0), 0);
    SetDialogTitle(dialog, std::string(300, 'x').c_str());
    EXPECT_EQ(GetWindowTextLengthA(dialog), 127);
    DestroyWindow(dialog);
}

TEST(AboutBox, VersionLine)
{
    const std::string text = FormatVersionText(128);
    EXPECT_EQ(text, std::string(KAVLO_VERSION_TEXT_FOR_TESTS) + " - " + g_buildDate);
}

TEST(MainWindowResizer, ButtonsKeepTheCornerAndTheListTakesTheHeight)
{
    HWND dialog = MainDialogTemplate();
    ASSERT_NE(dialog, nullptr);
    AttachMainWindowResizer(dialog);
    RECT outer = {};
    GetWindowRect(dialog, &outer);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    const RECT list0 = ClientRectOf(dialog, IDC_MAIN_RESULTS);
    const RECT details0 = ClientRectOf(dialog, IDC_MAIN_DETAILS);
    const RECT close0 = ClientRectOf(dialog, IDCANCEL);

    SetWindowPos(dialog, nullptr, 0, 0, width + 200, height + 100, SWP_NOMOVE | SWP_NOZORDER);
    const RECT list1 = ClientRectOf(dialog, IDC_MAIN_RESULTS);
    const RECT details1 = ClientRectOf(dialog, IDC_MAIN_DETAILS);
    const RECT close1 = ClientRectOf(dialog, IDCANCEL);
    EXPECT_EQ(list1.right - list0.right, 200);
    EXPECT_EQ(list1.bottom - list0.bottom, 100);
    EXPECT_EQ(list1.top, list0.top);
    EXPECT_EQ(details1.top - details0.top, 100);
    EXPECT_EQ(details1.bottom - details1.top, details0.bottom - details0.top);
    EXPECT_EQ(details1.right - details0.right, 200);
    EXPECT_EQ(close1.left - close0.left, 200);
    EXPECT_EQ(close1.top - close0.top, 100);
    EXPECT_EQ(close1.right - close1.left, close0.right - close0.left);

    // Minimised and restored: nothing moves.
    ShowWindow(dialog, SW_MINIMIZE);
    ShowWindow(dialog, SW_RESTORE);
    EXPECT_EQ(ClientRectOf(dialog, IDCANCEL).left, close1.left);

    // The template size is the smallest size.
    MINMAXINFO limits = {};
    SendMessageA(dialog, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, width);
    EXPECT_EQ(limits.ptMinTrackSize.y, height);
    DestroyWindow(dialog);
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
        char shown[64] = {};
        GetDlgItemTextA(dialog, IDC_MAIN_DETAILS, shown, sizeof(shown));
        EXPECT_STREQ(shown, c.shown) << c.code << " on row " << c.row;
    }
    g_results = saved;
    DestroyWindow(dialog);
}
