#include "checks/local/memory.h"
#include "graded.h"

#include <gtest/gtest.h>

TEST(Memory_Grade, PassMarkAndSummary)
{
    const std::string details = "Requires 4096M RAM, 32M allowed for shared video ram.";
    EXPECT_EQ(Graded(GradeMemory, {4064ull << 20}), Record('A', "4064 M System Memory", details));
    EXPECT_EQ(Graded(GradeMemory, {(4064ull << 20) - 1}), Record('F', "4063 M System Memory", details));
}
