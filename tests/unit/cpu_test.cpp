#include "checks/local/cpu.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const char* const kRecommendation = "Minimum CPU speed is 1.00 GHz.  Recommended CPU speed is 2.00 GHz.";

CpuFacts Key(uint32_t count, uint32_t megahertz, const std::string& name)
{
    CpuFacts facts;
    facts.processorCount = count;
    facts.keyOpened = true;
    facts.megahertz = megahertz;
    facts.name = name;
    return facts;
}

std::string Tidy(std::string text, char* (*routine)(char*))
{
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    return routine(buffer.data());
}

} // namespace

TEST(Cpu_Text, TrimLeadingSpaces)
{
    const std::pair<const char*, const char*> cases[] = {
        {"", ""}, {"   ", ""}, {"  Acme", "Acme"}, {"Acme  ", "Acme  "}, {"\tAcme", "\tAcme"}, {" a b", "a b"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Tidy(c.first, TrimLeadingSpaces), c.second) << '"' << c.first << '"';
}

TEST(Cpu_Text, CollapseSpaces)
{
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},          {" ", " "},         {"   ", " "},       {"a  b", "a b"}, {"a b", "a b"},
        {" a ", " a "},    {"a    ", "a "},    {"a\t\tb", "a\t\tb"}, {"a  b   c", "a b c"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Tidy(c.first, CollapseSpaces), c.second) << '"' << c.first << '"';
}

TEST(Cpu_Grade, NamesClocksAndCounts)
{
    struct Case {
        CpuFacts facts;
        const char* summary;
        std::string details;
    } cases[] = {
        {Key(2, 2394, "  Acme   Quad  Core "), "Acme Quad Core (x2)",
         std::string(kRecommendation) + "Actual Speed: 2.39 GHz."},
        {Key(1, 3400, "Intel(R) Core(TM) i7"), "Intel(R) Core(TM) i7",
         std::string(kRecommendation) + "Actual Speed: 3.40 GHz."},
        {Key(4, 2394, ""), "Unknown Vendor, 2.39 GHz(x4)", kRecommendation},
        {Key(4, 0, ""), "Unknown Vendor, Unknown Speed(x4)", kRecommendation},
        {Key(1, 0, "   "), "Unknown Vendor, Unknown Speed", kRecommendation},
        {Key(1, 0, "Acme"), "Acme", std::string(kRecommendation) + "Actual Speed: 0Hz."},
        {Key(1, 500, "Acme"), "Acme", std::string(kRecommendation) + "Actual Speed: 500.00 MHz."},
        // ~MHz times a million overflows 32 bits: the product is 64-bit.
        {Key(1, 4300, "Acme"), "Acme", std::string(kRecommendation) + "Actual Speed: 4.30 GHz."},
        {Key(0, 1000, "Acme"), "Acme", std::string(kRecommendation) + "Actual Speed: 1.00 GHz."},
        {Key(64, 1000, "Acme"), "Acme(x64)", std::string(kRecommendation) + "Actual Speed: 1.00 GHz."},
    };
    for (const Case& c : cases) {
        TestResult result;
        GradeCpu(c.facts, result);
        EXPECT_EQ(result.status, 'I') << c.summary;
        EXPECT_EQ(result.summary, c.summary);
        EXPECT_EQ(result.details, c.details) << c.summary;
    }
}

TEST(Cpu_Grade, KeyThatCannotBeOpened)
{
    CpuFacts facts;
    facts.processorCount = 4;
    TestResult result;
    GradeCpu(facts, result);
    EXPECT_EQ(result.status, 'I');
    EXPECT_EQ(result.summary, "Unable to determine");
    EXPECT_EQ(result.details, std::string(kRecommendation) +
                                  "\nUnable to read registry key: HKLMHardware\\Description\\System\\CentralProcessor\\0\n");
}

TEST(Cpu_Grade, LongNameIsHeldToItsBuffer)
{
    TestResult result;
    GradeCpu(Key(2, 1000, std::string(300, 'n')), result);
    EXPECT_EQ(result.summary, std::string(255, 'n') + "(x2)");
}
