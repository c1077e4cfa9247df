#include "checks/local/memory.h"

#include "platform/scoped_win32.h"

namespace {

using GlobalMemoryStatusExFn = BOOL(WINAPI*)(LPMEMORYSTATUSEX);

} // namespace

MemoryFacts QueryMemoryFacts()
{
    MemoryFacts facts;
    // Systems before Windows 2000 have only the 32-bit query; it is bound by
    // name so that the program still starts there. A failed query leaves the
    // zeroed record, and so a total of 0.
    auto globalMemoryStatusEx =
        LookUpProc<GlobalMemoryStatusExFn>(GetModuleHandleA("kernel32"), "GlobalMemoryStatusEx");
    if (globalMemoryStatusEx != nullptr) {
        MEMORYSTATUSEX status = {};
        status.dwLength = sizeof(status);
        if (globalMemoryStatusEx(&status))
            facts.totalPhysicalBytes = status.ullTotalPhys;
    } else {
        MEMORYSTATUS status = {};
        status.dwLength = sizeof(status);
        GlobalMemoryStatus(&status);
        facts.totalPhysicalBytes = status.dwTotalPhys;
    }
    return facts;
}

void CheckMemory(TestResult& result)
{
    GradeMemory(QueryMemoryFacts(), result);
}
