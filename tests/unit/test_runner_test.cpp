#include "app/test_runner.h"
#include "app/test_table.h"
#include "app/verdict.h"

#include <gtest/gtest.h>

namespace {

const TestEntry kRequired = {1, nullptr, "required"}, kOptional = {0, nullptr, "optional"};

using Verdict = std::tuple<char, std::string, std::string, uint32_t>;  // letter, text, message, icon

// The verdict over records of the given rows and letters.
Verdict VerdictOf(std::initializer_list<std::pair<const TestEntry*, TestStatus>> rows)
{
    std::vector<TestResult> results;
    for (const auto& [entry, status] : rows)
        results.push_back({entry, status, entry->name, "", ""});
    const OverallVerdict v = ComputeVerdictOf(results);
    return {v.letter, v.verdictText, v.message, v.icon};
}

// Writes down every call of the walk over the real table, whose checks it plays itself.
class RecordingSide : public RunnerSide {
public:
    std::mutex lock;
    std::vector<TestResult> results;
    std::vector<std::string> log;
    std::string closeDuring;  // the check during which the main window closes

    void Walk() { RunTestTable(g_testTable, *this, results, lock); }
    void PrepareTestsBar(int count) override { Note("range 0.." + std::to_string(count)); }
    void ShowRunningTest(const std::string& label) override { Note("label " + label); }
    void RunCheck(const TestEntry& entry, TestResult& result) override
    {
        Note("check " + result.name + " " + result.status + result.summary + result.details);  // a fresh record
        EXPECT_EQ(result.entry, &entry);
        result.status = 'A';
        result.summary = "done";
        gone_ = result.name == closeDuring;
    }
    void StepTestsBar() override { Note("step"); }
    void TestDone(size_t index, const TestResult& result) override
    {
        EXPECT_EQ(results.size(), index + 1);  // stored before it is announced
        Note("done " + std::to_string(index) + " " + result.summary);
    }
    void AllDone() override { Note("all done"); }
    bool WindowsGone() const override { return gone_; }

private:
    void Note(const std::string& call)
    {
        // The lock is never held while the worker waits for the windows.
        EXPECT_TRUE(std::unique_lock<std::mutex>(lock, std::try_to_lock).owns_lock()) << call;
        log.push_back(call);
    }
    bool gone_ = false;
};

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
    std::string rows;  // '+' marks the rows that take part in the verdict
    for (size_t i = 0; i < CountTestTableRows(); ++i)
        rows += (g_testTable[i].required == 1 ? "+" : "") + std::string(g_testTable[i].name) + ";";
    EXPECT_EQ(rows, "+Operating System;+Disk Space;+Memory;+IE Version;+Disk Speed;+Internet Access;+Network Speed;"
                    "+DNS Lookup;+Host Environment;+Screen Resolution;+CPU;Local Admin;Domain Membership;"
                    "Default Web Browser;+USB 2.0;Secure Screen Saver;Windows Auto Update;+Public IP Address;");
    EXPECT_EQ(g_testTable[18].name, nullptr);
}

TEST(TestRunner, WalksTheTableInOrder)
{
    RecordingSide side;
    side.Walk();
    std::vector<std::string> expected = {"range 0..18"};
    for (size_t i = 0; i < 18; ++i) {
        const std::string name = g_testTable[i].name, number = std::to_string(i);
        expected.insert(expected.end(),
                        {"label Testing: " + name, "check " + name + " F", "step", "done " + number + " done"});
        ASSERT_LT(i, side.results.size());
        EXPECT_EQ(std::tie(side.results[i].entry, side.results[i].summary), std::make_tuple(&g_testTable[i], "done"));
    }
    expected.push_back("all done");
    EXPECT_EQ(side.log, expected);
}

TEST(TestRunner, ClosingDuringACheckStopsTheWalk)
{
    RecordingSide side;
    side.closeDuring = "Disk Speed";  // the fifth row
    side.Walk();
    EXPECT_EQ(side.results.size(), 4u);
    EXPECT_EQ(side.log.back(), "check Disk Speed F");
}
