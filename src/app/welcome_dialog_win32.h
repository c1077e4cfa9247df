// The welcome dialog that asks for the user's consent.
#pragma once

#include <windows.h>

INT_PTR CALLBACK LegalDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
