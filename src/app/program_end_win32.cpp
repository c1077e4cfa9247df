#include "app/program_end_win32.h"

#include "app/test_runner_win32.h"

#include <windows.h>

void EndProgramNow()
{
    // The worker is told first, so that it shows nothing more, and is left
    // running: held at an arbitrary point it may own a lock this thread
    // would then wait for (the heap's, the loader's, a runtime one), and the
    // close would hang. Nothing is done here that needs one. The files a
    // check makes go with their delete-on-close handles when the system ends
    // the process, whatever the check was doing.
    AbandonTestRun();
    // No static destructor and no library's detach code may run under the
    // worker's feet.
    TerminateProcess(GetCurrentProcess(), 0);
    ExitProcess(0);  // not reached
}
