// Runs the Disk Speed check once, as the program would, and prints its record:
// the status letter, a tab and the summary on one line, the details on the next.
#include "app/app_globals_win32.h"
#include "checks/network/disk_speed.h"
#include "platform/scoped_win32.h"

#include <cstdio>

int main()
{
    // The check polls the cancel event; nobody sets it here.
    ScopedHandle cancel(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    g_cancelEvent = cancel.Get();
    TestResult result;
    CheckDiskSpeed(result);
    std::printf("%c\t%s\n%s\n", result.status, result.summary.c_str(), result.details.c_str());
    return 0;
}
