#include "checks/local/cpu.h"

#include "platform/registry_win32.h"
#include "platform/scoped_win32.h"

CpuFacts QueryCpuFacts()
{
    CpuFacts facts;
    SYSTEM_INFO info = {};
    GetSystemInfo(&info);
    facts.processorCount = info.dwNumberOfProcessors;

    // The native view: under WOW64 the 32-bit view may lack the processor's
    // description.
    ScopedRegKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Hardware\\Description\\System\\CentralProcessor\\0", 0,
                      NativeViewReadAccess(), key.Receive()) != ERROR_SUCCESS)
        return facts;
    facts.keyOpened = true;
    facts.megahertz = ReadRegRawNumber(key.Get(), "~MHz");
    facts.name = ReadRegBoundedText(key.Get(), "ProcessorNameString", 256).value_or(std::string());
    return facts;
}

void CheckCpu(TestResult& result)
{
    GradeCpu(QueryCpuFacts(), result);
}
