#include "app/test_runner.h"

#include "app/test_table.h"
#include "app/text_format.h"

void RunTestTable(const TestEntry* table, RunnerSide& side, std::vector<TestResult>& results, std::mutex& lock)
{
    const size_t count = CountTestTableRows(table);
    if (side.WindowsGone())
        return;
    side.PrepareTestsBar(static_cast<int>(count));

    for (size_t i = 0; i < count; ++i) {
        const TestEntry& row = table[i];
        TestResult result = MakeFreshResult(row);
        side.ShowRunningTest(FormatBounded(256, "Testing: %s", row.name));
        side.RunCheck(row, result);
        // The user may have closed the program while the check ran.
        if (side.WindowsGone())
            return;
        {
            std::lock_guard<std::mutex> guard(lock);
            results.push_back(result);
        }
        side.StepTestsBar();
        side.TestDone(i, result);
    }
    if (!side.WindowsGone())
        side.AllDone();
}
