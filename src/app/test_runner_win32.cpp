#include "app/test_runner_win32.h"

#include "app/app_globals_win32.h"
#include "app/results.h"
#include "app/test_runner.h"
#include "app/test_table.h"
#include "resource_ids.h"

#include <commctrl.h>
#include <process.h>

#include <atomic>

ScopedHandle g_hWorkerThread;

namespace {

std::atomic<bool> g_runAbandoned{false};

class WindowRunnerSide : public RunnerSide {
public:
    WindowRunnerSide()
        : testsBar_(GetDlgItem(g_hProgressDlg, IDC_PROGRESS_TESTS)),
          testLabel_(GetDlgItem(g_hProgressDlg, IDC_PROGRESS_TEST_LABEL))
    {
    }
    void PrepareTestsBar(int count) override
    {
        SendMessageA(testsBar_, PBM_SETRANGE, 0, MAKELPARAM(0, count));
        SendMessageA(testsBar_, PBM_SETSTEP, 1, 0);
    }
    void ShowRunningTest(const std::string& label) override { SetWindowTextA(testLabel_, label.c_str()); }
    void StepTestsBar() override { SendMessageA(testsBar_, PBM_STEPIT, 0, 0); }
    void TestDone(size_t index, const TestResult& result) override
    {
        SendMessageA(g_hMainDlg, WM_APP_TESTDONE, index, reinterpret_cast<LPARAM>(&result));
    }
    void AllDone() override { SendMessageA(g_hMainDlg, WM_APP_ALLDONE, 0, 0); }
    bool WindowsGone() const override { return g_runAbandoned.load(); }

private:
    HWND testsBar_;
    HWND testLabel_;
};

} // namespace

unsigned __stdcall TestRunnerThread(void*)
{
    WindowRunnerSide side;
    RunTestTable(g_testTable, side, g_results, g_resultsLock);
    return 0;
}

INT_PTR CALLBACK ProgressDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SetDialogTitle(dialog, "Progress");
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) {
            // Only asks the benchmarks to stop; the dialog stays, and so does the run.
            SetEvent(g_cancelEvent);
            return TRUE;
        }
        break;
    default:
        break;
    }
    return FALSE;
}

void StartTestRunner()
{
    const uintptr_t thread = _beginthreadex(nullptr, 0, &TestRunnerThread, nullptr, 0, nullptr);
    if (thread == 0) {
        MessageBoxA(nullptr, "Unable to create thread.  Click 'Ok' to exit program.", "Error",
                    MB_ICONHAND | MB_SYSTEMMODAL);
        ExitProcess(static_cast<UINT>(-1));
    }
    g_hWorkerThread.Reset(reinterpret_cast<HANDLE>(thread));
}

bool AbandonTestRun()
{
    g_runAbandoned.store(true);
    return g_hWorkerThread && WaitForSingleObject(g_hWorkerThread.Get(), 0) == WAIT_TIMEOUT;
}

bool TestRunAbandoned()
{
    return g_runAbandoned.load();
}
