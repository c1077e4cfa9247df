// Process-wide handles that start-up prepares.
#pragma once

#include "platform/file_version_info.h"

#include <windows.h>

extern HINSTANCE g_hInstance;
extern HBITMAP g_logoBitmap;               // null when the logo could not be decoded
extern FileVersionInfo& g_programVersion;  // read while static objects are set up
extern HANDLE g_cancelEvent;               // manual reset, set only by Cancel
extern HWND g_hProgressDlg;
extern HWND g_hMainDlg;

// "Kavlo - %s" as the window's title, and the program icon.
void SetDialogTitle(HWND window, const char* text);
