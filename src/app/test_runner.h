// The walk over the test table that the worker thread makes.
#pragma once

#include "app/test_result.h"

#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

// What the walk needs of the windows. Every call but RunCheck is a
// synchronous message to the user-interface thread.
class RunnerSide {
public:
    virtual ~RunnerSide() = default;
    // The finished-checks bar: range 0..count, step 1.
    virtual void PrepareTestsBar(int count) = 0;
    virtual void ShowRunningTest(const std::string& label) = 0;
    virtual void RunCheck(const TestEntry& entry, TestResult& result) { entry.check(result); }
    virtual void StepTestsBar() = 0;
    virtual void TestDone(size_t index, const TestResult& result) = 0;
    virtual void AllDone() = 0;
    // True once the main window has closed: from then on the walk touches
    // neither the windows nor the results.
    virtual bool WindowsGone() const = 0;
};

// Runs every row of `table` in order: a fresh record, "Testing: %s", the
// check, the append under `lock` (never held across a message), one step of
// the bar, the row's notification; then the final notification.
void RunTestTable(const TestEntry* table, RunnerSide& side, std::vector<TestResult>& results, std::mutex& lock);
