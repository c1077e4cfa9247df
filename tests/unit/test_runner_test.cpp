#include "app/test_runner.h"
#include "app/test_table.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

// Records every call of the walk, and checks the lock at each message.
class RecordingSide : public RunnerSide {
public:
    explicit RecordingSide(std::mutex& lock) : lock_(lock) {}

    void PrepareTestsBar(int count) override { log.push_back("range 0.." + std::to_string(count)); }
    void ShowRunningTest(const std::string& label) override
    {
        ExpectLockFree();
        log.push_back("label " + label);
    }
    void RunCheck(const TestEntry& entry, TestResult& result) override
    {
        ExpectLockFree();
        EXPECT_EQ(result.status, 'F');
        EXPECT_EQ(result.entry, &entry);
        EXPECT_TRUE(result.summary.empty() && result.details.empty());
        log.push_back("check " + result.name);
        result.status = 'A';
        result.summary = "done " + result.name;
        if (onCheck)
            onCheck(result);
    }
    void StepTestsBar() override { log.push_back("step"); }
    void TestDone(size_t index, const TestResult& result) override
    {
        ExpectLockFree();
        doneIndices.push_back(index);
        log.push_back("done " + std::to_string(index) + " " + result.summary);
        if (onDone)
            onDone(index);
    }
    void AllDone() override
    {
        ExpectLockFree();
        log.push_back("all done");
    }
    bool WindowsGone() const override { return gone.load(); }

    void ExpectLockFree()
    {
        // The lock is never held while the worker waits for the windows.
        ASSERT_TRUE(lock_.try_lock());
        lock_.unlock();
    }

    std::vector<std::string> log;
    std::vector<size_t> doneIndices;
    std::atomic<bool> gone{false};
    std::function<void(TestResult&)> onCheck;
    std::function<void(size_t)> onDone;

private:
    std::mutex& lock_;
};

} // namespace

TEST(TestRunner, WalksTheTableInOrder)
{
    std::mutex lock;
    std::vector<TestResult> results;
    RecordingSide side(lock);
    // When row i is announced, records 0 to i are stored, and no more.
    side.onDone = [&](size_t index) { EXPECT_EQ(results.size(), index + 1); };
    RunTestTable(g_testTable, side, results, lock);

    ASSERT_EQ(results.size(), 18u);
    std::vector<size_t> expected;
    for (size_t i = 0; i < 18; ++i) {
        expected.push_back(i);
        EXPECT_EQ(results[i].name, g_testTable[i].name);
        EXPECT_EQ(results[i].entry, &g_testTable[i]);
        EXPECT_EQ(results[i].status, 'A');
    }
    EXPECT_EQ(side.doneIndices, expected);
    ASSERT_EQ(side.log.size(), 1u + 18 * 4 + 1);
    EXPECT_EQ(side.log.front(), "range 0..18");
    EXPECT_EQ(side.log[1], "label Testing: Operating System");
    EXPECT_EQ(side.log[2], "check Operating System");
    EXPECT_EQ(side.log[3], "step");
    EXPECT_EQ(side.log[4], "done 0 done Operating System");
    EXPECT_EQ(side.log[1 + 14 * 4], "label Testing: USB 2.0");  // the fifteenth check
    EXPECT_EQ(side.log.back(), "all done");
}

TEST(TestRunner, ClosingDuringASlowCheckStopsTheWalk)
{
    std::mutex lock;
    std::vector<TestResult> results;
    RecordingSide side(lock);
    std::atomic<bool> inSlowCheck{false};
    side.onCheck = [&](TestResult& r) {
        if (r.name == "Disk Speed") {
            inSlowCheck = true;
            while (!side.gone)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    };
    std::thread worker([&] { RunTestTable(g_testTable, side, results, lock); });
    while (!inSlowCheck)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    side.gone = true;  // the main window closes while "Disk Speed" runs
    worker.join();

    // The four rows before it were stored and announced; nothing after.
    EXPECT_EQ(results.size(), 4u);
    EXPECT_EQ(side.doneIndices.size(), 4u);
    EXPECT_EQ(side.log.back(), "check Disk Speed");
}
