#include "checks/local/host_environment.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Answers as scripted and records which probes were asked, in order.
class ScriptedProbes : public HostEnvironmentProbes {
public:
    bool remote = false;
    bool virtualPc = false;
    bool vmware = false;
    int32_t vmwareVersion = 0;
    uint32_t vmwareProduct = 0;
    bool virtualBox = false;
    uint16_t architecture = 9;
    std::string asked;

    bool IsRemoteSession() override { return Ask('R', remote); }
    bool IsInsideVirtualPc() override { return Ask('P', virtualPc); }
    bool IsInsideVmware(int32_t& version, uint32_t& productType) override
    {
        version = vmwareVersion;
        productType = vmwareProduct;
        return Ask('W', vmware);
    }
    bool IsInsideVirtualBox() override { return Ask('B', virtualBox); }
    uint16_t NativeProcessorArchitecture() override
    {
        asked += 'A';
        return architecture;
    }

private:
    bool Ask(char probe, bool answer)
    {
        asked += probe;
        return answer;
    }
};

const char* const kGeneral =
    "The USB check scanning hardware does NOT work inside some virtual machines, over a remote desktop connection "
    "or on all 64-bit processors.  This test checks for those environments.";
const char* const kOlderVmware =
    "The USB check scanning hardware does NOT function inside VMWare Server, ESX or similar.  It will, however, "
    "function in Workstation 6 or better.";

} // namespace

TEST(HostEnvironment_Grade, OutcomesAndProbeOrder)
{
    struct Case {
        const char* label;
        void (*script)(ScriptedProbes&);
        const char* asked;
        const char* summary;
        const char* details;
    } cases[] = {
        {"Physical64", [](ScriptedProbes&) {}, "RPWBA", "64-bit architecture is good.", kGeneral},
        {"RemoteDesktopToAVirtualMachine",
         [](ScriptedProbes& p) {
             p.remote = p.virtualPc = p.vmware = p.virtualBox = true;
         },
         "R", "Remote Desktop not supported",
         "The USB check scanning hardware does NOT work over a remote desktop connection."},
        {"VirtualPc", [](ScriptedProbes& p) { p.virtualPc = true; }, "RP", "Microsoft Virtual PC not supported",
         "The USB check scanning hardware does NOT work inside a Microsot Virtual PC."},
        {"VmwareWorkstation6",
         [](ScriptedProbes& p) {
             p.vmware = true;
             p.vmwareVersion = 6;
             p.vmwareProduct = 4;
         },
         "RPWBA", "64-bit architecture is good.", kGeneral},
        {"VmwareServer7",
         [](ScriptedProbes& p) {
             p.vmware = true;
             p.vmwareVersion = 7;
             p.vmwareProduct = 2;
         },
         "RPW", "Older VMWare not supported", kOlderVmware},
        {"VmwareWorkstation5",
         [](ScriptedProbes& p) {
             p.vmware = true;
             p.vmwareVersion = 5;
             p.vmwareProduct = 4;
         },
         "RPW", "Older VMWare not supported", kOlderVmware},
        {"VmwareNegativeVersion",
         [](ScriptedProbes& p) {
             p.vmware = true;
             p.vmwareVersion = -1;
             p.vmwareProduct = 4;
         },
         "RPW", "Older VMWare not supported", kOlderVmware},
        {"VmwareWorkstationWithVirtualBoxKey",
         [](ScriptedProbes& p) {
             p.vmware = p.virtualBox = true;
             p.vmwareVersion = 7;
             p.vmwareProduct = 4;
         },
         "RPWB", "Oracle VirtualBox", "Partially tested virtualization platform."},
        // Version and product type count only when VMware answered.
        {"NoVmwareWithWorkstationFigures",
         [](ScriptedProbes& p) {
             p.vmwareVersion = 3;
             p.vmwareProduct = 2;
         },
         "RPWBA", "64-bit architecture is good.", kGeneral},
        {"VirtualBox", [](ScriptedProbes& p) { p.virtualBox = true; }, "RPWB", "Oracle VirtualBox",
         "Partially tested virtualization platform."},
        {"Itanium", [](ScriptedProbes& p) { p.architecture = 6; }, "RPWBA", "Itanium 64-bit CPU not supported",
         kGeneral},
        {"ThirtyTwoOnSixtyFour", [](ScriptedProbes& p) { p.architecture = 10; }, "RPWBA",
         "64-bit architecture is good.", kGeneral},
        {"X86", [](ScriptedProbes& p) { p.architecture = 0; }, "RPWBA", "32-bit architecture is good.", kGeneral},
        {"Architecture5", [](ScriptedProbes& p) { p.architecture = 5; }, "RPWBA", "Unknown host architecture.",
         kGeneral},
        {"ArchitectureUnknownFFFF", [](ScriptedProbes& p) { p.architecture = 0xFFFF; }, "RPWBA",
         "Unknown host architecture.", kGeneral},
    };
    for (const Case& c : cases) {
        ScriptedProbes probes;
        c.script(probes);
        TestResult result;
        GradeHostEnvironment(probes, result);
        EXPECT_EQ(result.status, 'I') << c.label;
        EXPECT_EQ(probes.asked, c.asked) << c.label;
        EXPECT_EQ(result.summary, c.summary) << c.label;
        EXPECT_EQ(result.details, c.details) << c.label;
    }
}
