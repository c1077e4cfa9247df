#include "checks/local/cpu.h"
#include "graded.h"

#include <gtest/gtest.h>

TEST(Cpu_Grade, NamesClocksAndCounts)
{
    const std::string recommendation = "Minimum CPU speed is 1.00 GHz.  Recommended CPU speed is 2.00 GHz.";
    const std::tuple<CpuFacts, std::string, const char*> cases[] = {  // facts, summary, the speed line if any
        // Only blanks are tidied: leading ones dropped, runs of them made one.
        {{2, true, 2394, "  Acme   Quad\t\tCore "}, "Acme Quad\t\tCore (x2)", "Actual Speed: 2.39 GHz."},
        {{4, true, 2394, ""}, "Unknown Vendor, 2.39 GHz(x4)", ""},
        {{1, true, 0, "   "}, "Unknown Vendor, Unknown Speed", ""},
        {{1, true, 0, "Acme"}, "Acme", "Actual Speed: 0Hz."},
        {{0, true, 500, "Acme"}, "Acme", "Actual Speed: 500.00 MHz."},
        {{1, true, 4300, "Acme"}, "Acme", "Actual Speed: 4.30 GHz."},  // beyond 32 bits in hertz
    };
    for (const auto& [facts, summary, speed] : cases)
        EXPECT_EQ(Graded(GradeCpu, facts), Record('I', summary, recommendation + speed));
    const std::string unread =
        "\nUnable to read registry key: HKLMHardware\\Description\\System\\CentralProcessor\\0\n";
    EXPECT_EQ(Graded(GradeCpu, {4, false, 2394, "Acme"}), Record('I', "Unable to determine", recommendation + unread));
}
