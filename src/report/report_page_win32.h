// The printed page on a printer's device context.
#pragma once

#include <windows.h>

// The six report fonts sized for this printer; deleted again after the page.
void CreateReportFonts(HDC printer);
void DeleteReportFonts();

// The page between StartPage and EndPage, with the current results, names,
// timestamp and fingerprint.
void DrawReportPage(HDC printer);
