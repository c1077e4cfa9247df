// The About box.
#pragma once

#include <windows.h>

#include <string>

void ShowAboutBox(HWND owner);
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// "<product version> - <build date>", cut to `bufferSize`.
std::string FormatVersionText(size_t bufferSize);
