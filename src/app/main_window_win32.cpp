#include "app/main_window_win32.h"

#include "app/about_box_win32.h"
#include "app/app_globals_win32.h"
#include "app/dialog_resizer_win32.h"
#include "app/list_columns.h"
#include "app/program_end_win32.h"
#include "app/results.h"
#include "app/test_runner_win32.h"
#include "app/text_format.h"
#include "app/verdict.h"
#include "report/report_commands_win32.h"
#include "resource_ids.h"

#include <commctrl.h>

void AttachMainWindowResizer(HWND dialog)
{
    auto* resizer = new DialogResizer(dialog);  // frees itself with the dialog
    resizer->horizontalSplitPercent = 50;
    resizer->verticalSplitPercent = 1;

    HWND title = GetDlgItem(dialog, IDC_MAIN_TITLE);
    HWND list = GetDlgItem(dialog, IDC_MAIN_RESULTS);
    HWND details = GetDlgItem(dialog, IDC_MAIN_DETAILS);
    for (HWND stretching : {title, list}) {
        if (ControlRule* rule = resizer->FindOrAddRule(stretching)) {
            rule->factors.left = 0;
            rule->factors.right = 1;
        }
        resizer->SetVerticalMode(stretching, 1);
    }
    if (ControlRule* rule = resizer->FindOrAddRule(details)) {
        rule->factors.left = 0;
        rule->factors.right = 0;
    }
    resizer->SetVerticalMode(details, 2);
    resizer->SetHorizontalGroup(1, &details);

    RECT listRect = {};
    GetWindowRect(list, &listRect);
    const double listHeight = listRect.bottom - listRect.top;
    resizer->SetVerticalFactors(list, 0, listHeight / listHeight);

    for (int id : {IDC_MAIN_PRINT, IDC_MAIN_EMAIL, IDC_MAIN_ABOUT, IDCANCEL}) {
        HWND button = GetDlgItem(dialog, id);
        if (ControlRule* rule = resizer->FindOrAddRule(button)) {
            rule->factors.left = 1;
            rule->factors.right = 1;
        }
        resizer->SetVerticalMode(button, 2);
    }
}

namespace {

// Posted at set-up: handled once the main window has been shown.
constexpr UINT WM_APP_RAISEPROGRESS = WM_APP + 1;

void PlaceInWorkArea(HWND dialog)
{
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int workWidth = work.right - work.left;
    const int workHeight = work.bottom - work.top;
    const float share = 0.8f;
    const int width = static_cast<int>(workWidth * share);
    const int height = static_cast<int>(workHeight * share);
    SetWindowPos(dialog, nullptr, work.left + (workWidth - width) / 2, work.top + (workHeight - height) / 2, width,
                 height, SWP_NOOWNERZORDER);
}

void StretchLastColumn(HWND dialog)
{
    SendDlgItemMessageA(dialog, IDC_MAIN_RESULTS, LVM_SETCOLUMNWIDTH, 2, LVSCW_AUTOSIZE_USEHEADER);
}

void SetUpResultsList(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_MAIN_RESULTS);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    for (int i = 0; g_listColumns[i].title != nullptr; ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = g_listColumns[i].width;
        column.pszText = const_cast<char*>(g_listColumns[i].title);
        column.iSubItem = i;
        if (SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column)) == -1) {
            MessageBoxA(dialog, "ListView_InsertColumn() failed.", "Error", MB_OK);
            ExitProcess(static_cast<UINT>(-1));
        }
    }
    StretchLastColumn(dialog);
}

void SetListText(HWND list, int row, int column, const std::string& text)
{
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

void AddResultRow(HWND dialog, size_t index, const TestResult& result)
{
    HWND list = GetDlgItem(dialog, IDC_MAIN_RESULTS);
    std::lock_guard<std::mutex> lock(g_resultsLock);
    const char letter[2] = {result.status, '\0'};
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(index);
    item.pszText = const_cast<char*>(letter);
    const int row = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    SetListText(list, row, 1, result.name);
    SetListText(list, row, 2, result.summary);
}

void ShowClickedDetails(HWND dialog, const NMITEMACTIVATE* click)
{
    if (click->iItem < 0)
        return;
    TestResult copy;
    if (!CopyResult(static_cast<size_t>(click->iItem), copy))
        return;
    SetDlgItemTextA(dialog, IDC_MAIN_DETAILS, copy.details.c_str());
}

void FinishRun(HWND dialog)
{
    DestroyWindow(g_hProgressDlg);
    g_hProgressDlg = nullptr;
    g_hWorkerThread.Reset();

    const OverallVerdict verdict = ComputeOverallVerdict();
    const std::string text = verdict.message + "  You may obtain more information by clicking on the items.";
    MessageBoxA(dialog, text.c_str(), verdict.verdictText.c_str(), verdict.icon);

    EnableWindow(GetDlgItem(dialog, IDC_MAIN_PRINT), TRUE);
    EnableWindow(GetDlgItem(dialog, IDC_MAIN_EMAIL), TRUE);
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_MAIN_PRINT)), TRUE);
}

BOOL InitMainDialog(HWND dialog)
{
    AttachMainWindowResizer(dialog);
    PlaceInWorkArea(dialog);
    g_hMainDlg = dialog;
    SetDialogTitle(dialog, "System Analysis");
    SetUpResultsList(dialog);

    const std::string version = FormatVersion(64, g_programVersion.productVersion);
    const std::string title = FormatBounded(256, "Velmora System Inspection Tool - Version %s", version.c_str());
    SetDlgItemTextA(dialog, IDC_MAIN_TITLE, title.c_str());
    SetDlgItemTextA(dialog, IDC_MAIN_DETAILS, "");

    g_hProgressDlg = CreateDialogParamA(g_hInstance, MAKEINTRESOURCEA(IDD_PROGRESS), dialog, ProgressDialogProc, 0);
    StartTestRunner();

    EnableWindow(GetDlgItem(dialog, IDC_MAIN_PRINT), FALSE);
    EnableWindow(GetDlgItem(dialog, IDC_MAIN_EMAIL), FALSE);

    // The progress dialog is made before its owner is shown; some window
    // managers then stack the owner over it when the owner comes to the
    // front. Once the main window is up, the dialog goes back on top, where
    // an owned window belongs and where its Cancel can be reached.
    PostMessageA(dialog, WM_APP_RAISEPROGRESS, 0, 0);
    return TRUE;
}

} // namespace

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return InitMainDialog(dialog);
    case WM_SIZE:
        StretchLastColumn(dialog);
        return TRUE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_MAIN_RESULTS && header->code == NM_CLICK)
            ShowClickedDetails(dialog, reinterpret_cast<const NMITEMACTIVATE*>(lParam));
        return TRUE;
    }
    case WM_APP_TESTDONE:
        AddResultRow(dialog, wParam, *reinterpret_cast<const TestResult*>(lParam));
        return TRUE;
    case WM_APP_ALLDONE:
        FinishRun(dialog);
        return TRUE;
    case WM_APP_RAISEPROGRESS:
        if (g_hProgressDlg != nullptr)
            SetWindowPos(g_hProgressDlg, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_MAIN_ABOUT:
            ShowAboutBox(dialog);
            return TRUE;
        case IDC_MAIN_EMAIL:
            EmailReport(dialog);
            return TRUE;
        case IDC_MAIN_PRINT:
            PrintReport(dialog);
            return TRUE;
        case IDOK:
        case IDCANCEL:
            // Close, Escape, Alt+F4 and the close box end the program at
            // once, whatever runs: the run is not waited for, and no later
            // message of the worker shows anything.
            EndProgramNow();
        default:
            return FALSE;
        }
    case WM_CLOSE:
        // Also while a box or dialog of the program is open: the taskbar and
        // Task Manager close a window that way.
        EndProgramNow();
    case WM_ENDSESSION:
        // Log-off or shutdown: the same end, before the session takes the
        // process away in the middle of a check.
        if (wParam)
            EndProgramNow();
        return TRUE;
    case WM_DESTROY:
        // The worker may be inside a check: from now on it leaves the
        // windows and the results alone, and start-up ends the process.
        AbandonTestRun();
        g_hMainDlg = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}
