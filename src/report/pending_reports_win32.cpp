// PLACEHOLDER report commands: Print and Email do nothing visible until the
// reports are written. Delete this file when they arrive.
#include "report/report_commands_win32.h"

void EmailReport(HWND) {}

bool PrintReport(HWND)
{
    return false;
}
