#include "checks/local/host_environment.h"

namespace {

constexpr uint32_t kVmwareWorkstation = 4;
constexpr int32_t kFirstSupportedWorkstation = 6;

const char* const kGeneralText =
    "The USB check scanning hardware does NOT work inside some virtual machines, over a remote desktop connection "
    "or on all 64-bit processors.  This test checks for those environments.";

void Report(TestResult& result, const char* summary, const char* details)
{
    result.status = 'I';
    result.summary = summary;
    result.details = details;
}

const char* ArchitectureSummary(uint16_t architecture)
{
    switch (architecture) {
    case 6:
        return "Itanium 64-bit CPU not supported";
    case 9:
    case 10:
        return "64-bit architecture is good.";
    case 0:
        return "32-bit architecture is good.";
    default:
        return "Unknown host architecture.";
    }
}

} // namespace

void GradeHostEnvironment(HostEnvironmentProbes& probes, TestResult& result)
{
    if (probes.IsRemoteSession()) {
        Report(result, "Remote Desktop not supported",
               "The USB check scanning hardware does NOT work over a remote desktop connection.");
        return;
    }
    if (probes.IsInsideVirtualPc()) {
        Report(result, "Microsoft Virtual PC not supported",
               "The USB check scanning hardware does NOT work inside a Microsot Virtual PC.");
        return;
    }
    int32_t version = 0;
    uint32_t productType = 0;
    if (probes.IsInsideVmware(version, productType) &&
        !(version >= kFirstSupportedWorkstation && productType == kVmwareWorkstation)) {
        Report(result, "Older VMWare not supported",
               "The USB check scanning hardware does NOT function inside VMWare Server, ESX or similar.  It will, "
               "however, function in Workstation 6 or better.");
        return;
    }
    // VMware Workstation 6 and later passes USB devices through, so the
    // computer is judged like a physical one from here on.
    if (probes.IsInsideVirtualBox()) {
        Report(result, "Oracle VirtualBox", "Partially tested virtualization platform.");
        return;
    }
    Report(result, ArchitectureSummary(probes.NativeProcessorArchitecture()), kGeneralText);
}
