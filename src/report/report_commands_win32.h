// The main window's Print and Email buttons.
#pragma once

#include <windows.h>

// Writes the HTML report and hands it to the mail client.
void EmailReport(HWND owner);

// Asks for the names, lets the user choose a printer and prints the report.
// True once a printer was obtained and accepted.
bool PrintReport(HWND owner);
