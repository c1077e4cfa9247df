#include "app/test_table.h"
#include "app/verdict.h"

#include <gtest/gtest.h>

#include <iterator>
#include <utility>

namespace {

const TestEntry kRequired = {1, nullptr, "required"};
const TestEntry kOptional = {0, nullptr, "optional"};

TestResult Record(const TestEntry& entry, TestStatus status)
{
    TestResult result;
    result.entry = &entry;
    result.status = status;
    return result;
}

// Eighteen records shaped like the real table: rows 12, 13, 14, 16, 17 optional.
std::vector<TestResult> TableShaped(TestStatus requiredStatus, TestStatus optionalStatus)
{
    std::vector<TestResult> results;
    for (size_t i = 0; i < CountTestTableRows(); ++i) {
        const TestEntry& row = g_testTable[i];
        TestResult r = MakeFreshResult(row);
        r.status = row.required ? requiredStatus : optionalStatus;
        results.push_back(r);
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
    ASSERT_EQ(results[14].name, "USB 2.0");
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
    // Optional rows never change it, whatever they hold.
    EXPECT_EQ(ComputeVerdictOf({Record(kOptional, '\0'), Record(kOptional, 'F')}).letter, 'A');
}

TEST(Verdict, EmptyResultsApprove)
{
    EXPECT_EQ(ComputeVerdictOf({}).verdictText, "Approved");
}

TEST(Verdict, PresetFOnRequiredRowFails)
{
    const TestResult fresh = MakeFreshResult(g_testTable[0]);
    EXPECT_EQ(fresh.status, 'F');
    EXPECT_EQ(fresh.name, "Operating System");
    EXPECT_TRUE(fresh.summary.empty());
    EXPECT_TRUE(fresh.details.empty());
    EXPECT_EQ(ComputeVerdictOf({fresh}).letter, 'F');
}

TEST(TestTable, EighteenRowsThirteenRequiredThenTheTerminator)
{
    ASSERT_EQ(CountTestTableRows(), 18u);
    int required = 0;
    for (size_t i = 0; i < 18; ++i)
        required += g_testTable[i].required;
    EXPECT_EQ(required, 13);
    EXPECT_EQ(g_testTable[18].check, nullptr);
    EXPECT_EQ(g_testTable[18].name, nullptr);
}

// The rows, in order, and which of them take part in the verdict: thirteen
// required, and "Local Admin", "Domain Membership", "Default Web Browser",
// "Secure Screen Saver" and "Windows Auto Update" not.
TEST(TestTable, NamesAndRequiredFlagsInOrder)
{
    const std::pair<const char*, uint32_t> rows[] = {
        {"Operating System", 1}, {"Disk Space", 1},       {"Memory", 1},
        {"IE Version", 1},       {"Disk Speed", 1},       {"Internet Access", 1},
        {"Network Speed", 1},    {"DNS Lookup", 1},       {"Host Environment", 1},
        {"Screen Resolution", 1}, {"CPU", 1},             {"Local Admin", 0},
        {"Domain Membership", 0}, {"Default Web Browser", 0}, {"USB 2.0", 1},
        {"Secure Screen Saver", 0}, {"Windows Auto Update", 0}, {"Public IP Address", 1},
    };
    ASSERT_EQ(CountTestTableRows(), std::size(rows));
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_STREQ(g_testTable[i].name, rows[i].first) << "row " << i;
        EXPECT_EQ(g_testTable[i].required, rows[i].second) << rows[i].first;
    }
}
