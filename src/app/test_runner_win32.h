// The worker thread that runs the checks, and the progress dialog.
#pragma once

#include "platform/scoped_win32.h"

#include <windows.h>

// The worker's messages to the main window (WM_USER + 11 and + 12).
constexpr UINT WM_APP_TESTDONE = WM_USER + 11;  // wParam: row index, lParam: the worker's TestResult*
constexpr UINT WM_APP_ALLDONE = WM_USER + 12;

extern ScopedHandle g_hWorkerThread;  // none once the run is over

unsigned __stdcall TestRunnerThread(void* ignored);
INT_PTR CALLBACK ProgressDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Starts the worker; on failure shows "Unable to create thread." and ends the process.
void StartTestRunner();

// Called by the main window as it closes: from then on the worker touches no
// window and no result. Answers whether the worker is still running.
bool AbandonTestRun();
// True once the run has been abandoned.
bool TestRunAbandoned();
