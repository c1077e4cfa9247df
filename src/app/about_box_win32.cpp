#include "app/about_box_win32.h"

#include "app/app_globals_win32.h"
#include "app/settings.h"
#include "app/text_format.h"
#include "resource_ids.h"

std::string FormatVersionText(size_t bufferSize)
{
    const std::string version = FormatVersion(32, g_programVersion.productVersion);
    return FormatBounded(bufferSize, "%s - %s", version.c_str(), g_buildDate);
}

void ShowAboutBox(HWND owner)
{
    DialogBoxParamA(g_hInstance, MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutDialogProc, 0);
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemTextA(dialog, IDC_ABOUT_PRODUCT, g_programVersion.productName.value_or("").c_str());
        SetDlgItemTextA(dialog, IDC_ABOUT_LEGAL, g_programVersion.legalCopyright.value_or("").c_str());
        SetDlgItemTextA(dialog, IDC_ABOUT_VERSION, FormatVersionText(128).c_str());
        SetDialogTitle(dialog, "About Box");
        return TRUE;
    case WM_COMMAND:
        // Only OK closes the box; Escape and the close box do nothing here.
        if (LOWORD(wParam) == IDOK) {
            EndDialog(dialog, 1);
            return TRUE;
        }
        break;
    default:
        break;
    }
    return FALSE;
}
