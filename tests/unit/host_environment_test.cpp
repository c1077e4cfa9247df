#include "checks/local/host_environment.h"

#include <gtest/gtest.h>

namespace {

struct Answers {
    bool remote, virtualPc, vmware;
    int32_t version;
    uint32_t product;
    bool virtualBox;
    uint16_t architecture;
};

// Answers as scripted and records which probes were asked, in order.
struct ScriptedProbes : HostEnvironmentProbes {
    Answers a;
    std::string asked;
    bool Ask(char probe, bool answer) { return asked += probe, answer; }
    bool IsRemoteSession() override { return Ask('R', a.remote); }
    bool IsInsideVirtualPc() override { return Ask('P', a.virtualPc); }
    bool IsInsideVmware(int32_t& v, uint32_t& p) override { return v = a.version, p = a.product, Ask('W', a.vmware); }
    bool IsInsideVirtualBox() override { return Ask('B', a.virtualBox); }
    uint16_t NativeProcessorArchitecture() override { return asked += 'A', a.architecture; }
};

} // namespace

TEST(HostEnvironment_Grade, OutcomesAndProbeOrder)
{
    const std::string general =
        "The USB check scanning hardware does NOT work inside some virtual machines, over a remote desktop "
        "connection or on all 64-bit processors.  This test checks for those environments.";
    const std::string olderVmware =
        "The USB check scanning hardware does NOT function inside VMWare Server, ESX or similar.  It will, however, "
        "function in Workstation 6 or better.";
    using Record = std::tuple<std::string, std::string, std::string>;  // probes asked, summary, details
    const std::pair<Answers, Record> cases[] = {
        // A remote desktop to a virtual machine reports the remote desktop only.
        {{1, 1, 1, 5, 2, 1, 9}, {"R", "Remote Desktop not supported",
                                 "The USB check scanning hardware does NOT work over a remote desktop connection."}},
        {{0, 1, 1, 5, 2, 1, 9}, {"RP", "Microsoft Virtual PC not supported",
                                 "The USB check scanning hardware does NOT work inside a Microsot Virtual PC."}},
        // Workstation (4) 6 and later counts as a physical machine.
        {{0, 0, 1, 6, 4, 0, 9}, {"RPWBA", "64-bit architecture is good.", general}},
        {{0, 0, 1, 5, 4, 0, 9}, {"RPW", "Older VMWare not supported", olderVmware}},
        {{0, 0, 1, 7, 2, 0, 9}, {"RPW", "Older VMWare not supported", olderVmware}},
        {{0, 0, 0, 7, 2, 0, 9}, {"RPWBA", "64-bit architecture is good.", general}},  // figures without an answer
        {{0, 0, 1, 7, 4, 1, 9}, {"RPWB", "Oracle VirtualBox", "Partially tested virtualization platform."}},
        {{0, 0, 0, 0, 0, 0, 6}, {"RPWBA", "Itanium 64-bit CPU not supported", general}},
        {{0, 0, 0, 0, 0, 0, 10}, {"RPWBA", "64-bit architecture is good.", general}},
        {{0, 0, 0, 0, 0, 0, 0}, {"RPWBA", "32-bit architecture is good.", general}},
        {{0, 0, 0, 0, 0, 0, 5}, {"RPWBA", "Unknown host architecture.", general}},
    };
    for (const auto& [answers, expected] : cases) {
        ScriptedProbes probes;
        probes.a = answers;
        TestResult result;
        GradeHostEnvironment(probes, result);
        EXPECT_EQ(result.status, 'I');
        EXPECT_EQ(Record(probes.asked, result.summary, result.details), expected);
    }
}
