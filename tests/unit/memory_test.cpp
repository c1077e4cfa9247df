#include "checks/local/memory.h"

#include <gtest/gtest.h>

TEST(Memory_Grade, PassMarkAndSummary)
{
    constexpr uint64_t kMB = 1ull << 20;
    struct Case {
        uint64_t bytes;
        char status;
        const char* summary;
    } cases[] = {
        {4063 * kMB, 'F', "4063 M System Memory"},
        {4064 * kMB - 1, 'F', "4063 M System Memory"},
        {4064 * kMB, 'A', "4064 M System Memory"},
        {8071 * kMB, 'A', "8071 M System Memory"},
        {0, 'F', "0 M System Memory"},  // the query failed
        {(1ull << 52) + 100 * kMB, 'F', "100 M System Memory"},  // 32-bit megabyte figure
    };
    for (const Case& c : cases) {
        TestResult result;
        GradeMemory(MemoryFacts{c.bytes}, result);
        EXPECT_EQ(result.status, c.status) << c.summary;
        EXPECT_EQ(result.summary, c.summary);
        EXPECT_EQ(result.details, "Requires 4096M RAM, 32M allowed for shared video ram.");
    }
}
