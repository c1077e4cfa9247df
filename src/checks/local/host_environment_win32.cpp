#include "checks/local/host_environment.h"

#include "checks/local/virtual_machine_probes_win32.h"
#include "platform/wow64_win32.h"

namespace {

class SystemProbes : public HostEnvironmentProbes {
public:
    bool IsRemoteSession() override { return GetSystemMetrics(SM_REMOTESESSION) != 0; }
    bool IsInsideVirtualPc() override { return ::IsInsideVirtualPc(); }
    bool IsInsideVmware(int32_t& version, uint32_t& productType) override
    {
        return ::IsInsideVmware(&version, &productType);
    }
    bool IsInsideVirtualBox() override { return ::IsInsideVirtualBox(); }
    uint16_t NativeProcessorArchitecture() override { return GetNativeProcessorArchitecture(); }
};

} // namespace

void CheckHostEnvironment(TestResult& result)
{
    SystemProbes probes;
    GradeHostEnvironment(probes, result);
}
