#include "app/test_table.h"
#include "app/verdict.h"

#include <gtest/gtest.h>

#include <iterator>

namespace {

const TestEntry kRequired = {1, nullptr, "required"}, kOptional = {0, nullptr, "optional"};

using Verdict = std::tuple<char, std::string, std::string, uint32_t>;  // letter, text, message, icon

// The verdict over records of the given rows and letters.
Verdict VerdictOf(
    std::initializer_list<std::pair<const TestEntry*, TestStatus>> rows)
{
    std::vector<TestResult> results;
    for (const auto& [entry, status] : rows)
        results.push_back({entry, status, entry->name, "", ""});
    const OverallVerdict v = ComputeVerdictOf(results);
    return {v.letter, v.verdictText, v.message, v.icon};
}

} // namespace

TEST(Verdict, RequiredRowsAloneDecideAndOnlyAOrIApprove)
{
    const Verdict approved = {'A', "Approved", "Your computer is suitable to run the Velmora Deposit software.", 0x30};
    const Verdict failed = {'F', "Failed", "Your computer did not pass one or more suitability tests.", 0x10};
    EXPECT_EQ(VerdictOf({}), approved);
    EXPECT_EQ(VerdictOf({{&kRequired, 'A'}, {&kRequired, 'I'}, {&kOptional, 'F'}, {&kOptional, '\0'}}), approved);
    EXPECT_EQ(VerdictOf({{&kRequired, 'A'}, {&kRequired, 'F'}, {&kRequired, 'I'}}), failed);
    // A letter between A and I that no check produces cannot approve, nor can one outside A..I.
    for (const char letter : {'B', 'H', 'J', '\0', '@'})
        EXPECT_EQ(VerdictOf({{&kRequired, letter}}), failed) << int(letter);
}

TEST(TestTable, NamesAndRequiredFlagsInOrderThenTheTerminator)
{
    // '+' marks the rows that take part in the verdict.
    const char* const rows[] = {"+Operating System", "+Disk Space", "+Memory", "+IE Version", "+Disk Speed",
                                "+Internet Access", "+Network Speed", "+DNS Lookup", "+Host Environment",
                                "+Screen Resolution", "+CPU", "Local Admin", "Domain Membership",
                                "Default Web Browser", "+USB 2.0", "Secure Screen Saver", "Windows Auto Update",
                                "+Public IP Address"};
    ASSERT_EQ(CountTestTableRows(), std::size(rows));
    for (size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ((g_testTable[i].required == 1 ? "+" : "") + std::string(g_testTable[i].name), rows[i]);
    EXPECT_EQ(g_testTable[std::size(rows)].name, nullptr);
}
