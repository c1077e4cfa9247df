#include "checks/local/host_environment.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Answers {
    bool remote, virtualPc, vmware;
    int32_t version;
    uint32_t product;
    bool virtualBox;
    uint16_t architecture;
};

// Answers as scripted and records which probes were asked, in order.
struct ScriptedProbes : HostEnvironmentProbes, Answers {
    explicit ScriptedProbes(const Answers& answers) : Answers(answers) {}
    std::string asked;

    bool Ask(char probe, bool answer) { return asked += probe, answer; }
    bool IsRemoteSession() override { return Ask('R', remote); }
    bool IsInsideVirtualPc() override { return Ask('P', virtualPc); }
    bool IsInsideVmware(int32_t& v, uint32_t& p) override { return v = version, p = product, Ask('W', vmware); }
    bool IsInsideVirtualBox() override { return Ask('B', virtualBox); }
    uint16_t NativeProcessorArchitecture() override { return asked += 'A', architecture; }
};

const char* const kGeneral =
    "The USB check scanning hardware does NOT work inside some virtual machines, over a remote desktop connection "
    "or on all 64-bit processors.  This test checks for those environments.";
const char* const kOlderVmware =
    "The USB check scanning hardware does NOT function inside VMWare Server, ESX or similar.  It will, however, "
    "function in Workstation 6 or better.";
const char* const kVirtualBox = "Partially tested virtualization platform.";

} // namespace

TEST(HostEnvironment_Grade, OutcomesAndProbeOrder)
{
    struct Case {
        Answers answers;
        const char* asked;
        const char* summary;
        const char* details;
    } cases[] = {
        {{false, false, false, 0, 0, false, 9}, "RPWBA", "64-bit architecture is good.", kGeneral},
        // A remote desktop to a virtual machine reports the remote desktop only.
        {{true, true, true, 5, 2, true, 9}, "R", "Remote Desktop not supported",
         "The USB check scanning hardware does NOT work over a remote desktop connection."},
        {{false, true, true, 5, 2, true, 9}, "RP", "Microsoft Virtual PC not supported",
         "The USB check scanning hardware does NOT work inside a Microsot Virtual PC."},
        // Workstation 6 and later counts as a physical machine.
        {{false, false, true, 6, 4, false, 9}, "RPWBA", "64-bit architecture is good.", kGeneral},
        {{false, false, true, 7, 2, false, 9}, "RPW", "Older VMWare not supported", kOlderVmware},
        {{false, false, true, 5, 4, false, 9}, "RPW", "Older VMWare not supported", kOlderVmware},
        {{false, false, true, -1, 4, false, 9}, "RPW", "Older VMWare not supported", kOlderVmware},
        {{false, false, true, 7, 4, true, 9}, "RPWB", "Oracle VirtualBox", kVirtualBox},
        // Figures without a VMware answer count for nothing.
        {{false, false, false, 3, 2, false, 9}, "RPWBA", "64-bit architecture is good.", kGeneral},
        {{false, false, false, 0, 0, true, 9}, "RPWB", "Oracle VirtualBox", kVirtualBox},
        {{false, false, false, 0, 0, false, 6}, "RPWBA", "Itanium 64-bit CPU not supported", kGeneral},
        {{false, false, false, 0, 0, false, 10}, "RPWBA", "64-bit architecture is good.", kGeneral},
        {{false, false, false, 0, 0, false, 0}, "RPWBA", "32-bit architecture is good.", kGeneral},
        {{false, false, false, 0, 0, false, 5}, "RPWBA", "Unknown host architecture.", kGeneral},
    };
    for (const Case& c : cases) {
        ScriptedProbes probes(c.answers);
        TestResult result;
        GradeHostEnvironment(probes, result);
        EXPECT_EQ(result.status, 'I') << c.summary;
        EXPECT_EQ(probes.asked, c.asked) << c.summary;
        EXPECT_EQ(result.summary, c.summary);
        EXPECT_EQ(result.details, c.details) << c.summary;
    }
}
