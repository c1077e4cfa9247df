#include "app/program_end_win32.h"

#include "app/check_made_files.h"
#include "app/test_runner_win32.h"

#include <windows.h>

void EndProgramNow()
{
    // The worker shows and makes nothing more: it is told first, then held
    // where it is (inside a WinINet call, a write, a DNS query ...).
    AbandonTestRun();
    if (g_hWorkerThread != INVALID_HANDLE_VALUE)
        SuspendThread(g_hWorkerThread);
    for (const std::string& path : FilesMadeByCheck())
        DeleteFileA(path.c_str());
    // No static destructor and no library's detach code may run under the
    // held worker's feet; the Disk Speed file goes with its delete-on-close
    // handle.
    TerminateProcess(GetCurrentProcess(), 0);
    ExitProcess(0);  // not reached
}
