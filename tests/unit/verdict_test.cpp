#include "app/test_table.h"
#include "app/verdict.h"

#include <gtest/gtest.h>

#include <iterator>
#include <utility>

namespace {

const TestEntry kRequired = {1, nullptr, "required"};
const TestEntry kOptional = {0, nullptr, "optional"};

// The rows in order, and which of them take part in the verdict: thirteen
// required, and "Local Admin", "Domain Membership", "Default Web Browser",
// "Secure Screen Saver" and "Windows Auto Update" not.
const std::pair<const char*, uint32_t> kRows[] = {
    {"Operating System", 1}, {"Disk Space", 1},       {"Memory", 1},
    {"IE Version", 1},       {"Disk Speed", 1},       {"Internet Access", 1},
    {"Network Speed", 1},    {"DNS Lookup", 1},       {"Host Environment", 1},
    {"Screen Resolution", 1}, {"CPU", 1},             {"Local Admin", 0},
    {"Domain Membership", 0}, {"Default Web Browser", 0}, {"USB 2.0", 1},
    {"Secure Screen Saver", 0}, {"Windows Auto Update", 0}, {"Public IP Address", 1},
};

TestResult Record(const TestEntry& entry, TestStatus status)
{
    TestResult result;
    result.entry = &entry;
    result.status = status;
    return result;
}

// Eighteen records with the flags of the list above, not of the table under test.
std::vector<TestResult> TableShaped(TestStatus requiredStatus, TestStatus optionalStatus)
{
    std::vector<TestResult> results;
    for (const auto& [name, required] : kRows) {
        results.push_back(Record(required ? kRequired : kOptional, required ? requiredStatus : optionalStatus));
        results.back().name = name;
    }
    return results;
}

} // namespace

TEST(Verdict, RequiredAllApprovedOptionalFailedIsApproved)
{
    const OverallVerdict v = ComputeVerdictOf(TableShaped('A', 'F'));
    EXPECT_EQ(v.letter, 'A');
    EXPECT_EQ(v.verdictText, "Approved");
    EXPECT_EQ(v.message, "Your computer is suitable to run the Velmora Deposit software.");
    EXPECT_EQ(v.icon, 0x30u);
}

TEST(Verdict, OneRequiredFailureFails)
{
    std::vector<TestResult> results = TableShaped('A', 'A');
    results[14].status = 'F';  // "USB 2.0"
    const OverallVerdict v = ComputeVerdictOf(results);
    EXPECT_EQ(v.letter, 'F');
    EXPECT_EQ(v.verdictText, "Failed");
    EXPECT_EQ(v.message, "Your computer did not pass one or more suitability tests.");
    EXPECT_EQ(v.icon, 0x10u);
}

TEST(Verdict, InformationalAndOddLetters)
{
    EXPECT_EQ(ComputeVerdictOf({Record(kRequired, 'I'), Record(kRequired, 'A')}).letter, 'A');
    // Outside A..I, including a zero byte and a high (negative) code: failed.
    EXPECT_EQ(ComputeVerdictOf({Record(kRequired, '\0')}).letter, 'F');
    EXPECT_EQ(ComputeVerdictOf({Record(kRequired, 'Z')}).letter, 'F');
    EXPECT_EQ(ComputeVerdictOf({Record(kRequired, static_cast<char>(0xC1))}).letter, 'F');
    // A letter between A and I that no check produces cannot approve.
    const OverallVerdict odd = ComputeVerdictOf({Record(kRequired, 'B')});
    EXPECT_EQ(odd.letter, 'F');
    EXPECT_EQ(odd.verdictText, "Failed");
    // Optional rows never change it, whatever they hold, and no rows at all approve.
    EXPECT_EQ(ComputeVerdictOf({Record(kOptional, '\0'), Record(kOptional, 'F')}).letter, 'A');
    EXPECT_EQ(ComputeVerdictOf({}).verdictText, "Approved");
}

TEST(TestTable, NamesAndRequiredFlagsInOrderThenTheTerminator)
{
    ASSERT_EQ(CountTestTableRows(), std::size(kRows));
    for (size_t i = 0; i < std::size(kRows); ++i) {
        EXPECT_STREQ(g_testTable[i].name, kRows[i].first) << "row " << i;
        EXPECT_EQ(g_testTable[i].required, kRows[i].second) << kRows[i].first;
    }
    EXPECT_EQ(g_testTable[18].check, nullptr);
    EXPECT_EQ(g_testTable[18].name, nullptr);
}
