#include "checks/local/disk_space.h"
#include "graded.h"

#include <gtest/gtest.h>

TEST(DiskSpace_Grade, MarksAndSummaries)
{
    constexpr uint64_t kMB = 1ull << 20;
    const std::tuple<DiskSpaceFacts, TestStatus, const char*> cases[] = {
        {{true, "C:\\", true, 1024 * kMB, 2048 * kMB}, 'F', "Drive \"C:\", 2048 total, 1024 M free (50.00%)"},
        {{true, "C:\\", true, 1025 * kMB, 2048 * kMB}, 'A', "Drive \"C:\", 2048 total, 1025 M free (50.05%)"},
        {{true, "C:\\", true, 1025 * kMB - 1, 2048 * kMB}, 'F', "Drive \"C:\", 2048 total, 1024 M free (50.00%)"},
        {{true, "d:\\apps", true, 5000 * kMB, 10000 * kMB}, 'A', "Drive \"d:\", 10000 total, 5000 M free (50.00%)"},
        {{true, "C:\\", true, 512 * 1024, kMB - 1}, 'F', "Drive \"C:\", 0 total, 0 M free (0.00%)"},
        {{false, "", false, 0, 0}, 'F', "Internal Error (SHGetFolderPath)"},
        {{true, "C:\\", false, 0, 0}, 'F', "Internal Error (GetDiskFreeSpaceEx)"},
    };
    for (const auto& [facts, status, summary] : cases)
        EXPECT_EQ(Graded(GradeDiskSpace, facts), Record(status, summary, "Requires 1024 MB free disk space.\n"));
}
