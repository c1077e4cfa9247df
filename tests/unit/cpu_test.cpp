#include "checks/local/cpu.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const std::string kRecommendation = "Minimum CPU speed is 1.00 GHz.  Recommended CPU speed is 2.00 GHz.";

std::string Tidy(std::string text, char* (*routine)(char*))
{
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    return routine(buffer.data());
}

} // namespace

TEST(Cpu_Text, TrimAndCollapse)
{
    EXPECT_EQ(Tidy("\t Acme", TrimLeadingSpaces), "\t Acme");  // only blanks are trimmed
    const std::pair<const char*, const char*> collapses[] = {
        {"", ""}, {"   ", " "}, {" a ", " a "}, {"a    ", "a "}, {"a\t\tb", "a\t\tb"}, {"a  b   c", "a b c"},
    };
    for (const auto& [text, tidy] : collapses)
        EXPECT_EQ(Tidy(text, CollapseSpaces), tidy) << '"' << text << '"';
}

TEST(Cpu_Grade, NamesClocksAndCounts)
{
    struct Case {
        CpuFacts facts;
        std::string summary;
        const char* speed;  // the line after the recommendation, if any
    } cases[] = {
        {{2, true, 2394, "  Acme   Quad  Core "}, "Acme Quad Core (x2)", "Actual Speed: 2.39 GHz."},
        {{4, true, 2394, ""}, "Unknown Vendor, 2.39 GHz(x4)", ""},
        {{4, true, 0, ""}, "Unknown Vendor, Unknown Speed(x4)", ""},
        {{1, true, 0, "   "}, "Unknown Vendor, Unknown Speed", ""},
        {{1, true, 0, "Acme"}, "Acme", "Actual Speed: 0Hz."},
        {{0, true, 500, "Acme"}, "Acme", "Actual Speed: 500.00 MHz."},
        {{1, true, 4300, "Acme"}, "Acme", "Actual Speed: 4.30 GHz."},  // beyond 32 bits in hertz
        {{2, true, 1000, std::string(300, 'n')}, std::string(255, 'n') + "(x2)", "Actual Speed: 1.00 GHz."},
    };
    for (const Case& c : cases) {
        TestResult result;
        GradeCpu(c.facts, result);
        EXPECT_EQ(result.status, 'I') << c.summary;
        EXPECT_EQ(result.summary, c.summary);
        EXPECT_EQ(result.details, kRecommendation + c.speed) << c.summary;
    }

    TestResult result;
    GradeCpu({4, false, 2394, "Acme"}, result);
    EXPECT_EQ(result.status, 'I');
    EXPECT_EQ(result.summary, "Unable to determine");
    EXPECT_EQ(result.details,
              kRecommendation + "\nUnable to read registry key: HKLMHardware\\Description\\System\\CentralProcessor\\0\n");
}
