#include "app/test_runner.h"
#include "app/test_table.h"

#include <gtest/gtest.h>

namespace {

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
        Note("check " + result.name + " " + result.status);  // the fresh record's letter
        EXPECT_EQ(result.entry, &entry);
        EXPECT_EQ(result.summary + result.details, "");
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
        if (lock.try_lock())
            lock.unlock();
        else
            ADD_FAILURE() << "lock held at " << call;
        log.push_back(call);
    }
    bool gone_ = false;
};

} // namespace

TEST(TestRunner, WalksTheTableInOrder)
{
    RecordingSide side;
    side.Walk();
    std::vector<std::string> expected = {"range 0..18"};
    for (size_t i = 0; i < 18; ++i) {
        const std::string name = g_testTable[i].name;
        expected.insert(expected.end(), {"label Testing: " + name, "check " + name + " F", "step",
                                         "done " + std::to_string(i) + " done"});
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
