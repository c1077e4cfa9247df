// The main window: results list, details pane, Print, Email, About, Close.
#pragma once

#include <windows.h>

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The main window's resizing rules: the list takes the extra height, the
// details pane stays at the bottom, the buttons keep to the lower right.
void AttachMainWindowResizer(HWND dialog);
