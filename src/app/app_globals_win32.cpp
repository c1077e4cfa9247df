#include "app/app_globals_win32.h"

#include "app/text_format.h"
#include "resource_ids.h"

HINSTANCE g_hInstance = nullptr;
HBITMAP g_logoBitmap = nullptr;
HANDLE g_cancelEvent = nullptr;
HWND g_hProgressDlg = nullptr;
HWND g_hMainDlg = nullptr;

// Never destroyed, like the results: the worker may still run at exit.
FileVersionInfo& g_programVersion = *new FileVersionInfo();

void SetDialogTitle(HWND window, const char* text)
{
    const std::string title = FormatBounded(128, "Kavlo - %s", text);
    SetWindowTextA(window, title.c_str());
    HINSTANCE instance = g_hInstance ? g_hInstance : GetModuleHandleA(nullptr);
    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_KAVLO));
    SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}
