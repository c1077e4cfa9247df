#include "app/welcome_dialog_win32.h"

#include "app/app_globals_win32.h"
#include "app/settings.h"
#include "resource_ids.h"

INT_PTR CALLBACK LegalDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemTextA(dialog, IDC_WELCOME_TEXT, g_welcomeText);
        SetDialogTitle(dialog, "Welcome");
        // The pane takes the focus first and the dialog manager selects all
        // of its text; the caret goes back to the start once that is done.
        PostMessageA(GetDlgItem(dialog, IDC_WELCOME_TEXT), EM_SETSEL, 0, 0);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK)
            EndDialog(dialog, 1);
        else if (LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, 0);
        return TRUE;
    default:
        return FALSE;
    }
}
