#include "checks/local/memory.h"

#include <gtest/gtest.h>

TEST(Memory_Grade, PassMarkAndSummary)
{
    constexpr uint64_t kMB = 1ull << 20;
    const std::tuple<uint64_t, char, const char*> cases[] = {
        {4064 * kMB - 1, 'F', "4063 M System Memory"}, {4064 * kMB, 'A', "4064 M System Memory"},
        {0, 'F', "0 M System Memory"},  // the query failed
    };
    for (const auto& [bytes, status, summary] : cases) {
        TestResult result;
        GradeMemory(MemoryFacts{bytes}, result);
        EXPECT_EQ(result.status, status) << summary;
        EXPECT_EQ(result.summary, summary);
        EXPECT_EQ(result.details, "Requires 4096M RAM, 32M allowed for shared video ram.");
    }
}
