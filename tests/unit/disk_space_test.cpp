#include "checks/local/disk_space.h"

#include <gtest/gtest.h>

namespace {

constexpr uint64_t kMB = 1ull << 20;

TestResult Grade(const DiskSpaceFacts& facts)
{
    TestResult result;
    GradeDiskSpace(facts, result);
    return result;
}

DiskSpaceFacts Measured(const char* path, uint64_t freeBytes, uint64_t totalBytes)
{
    DiskSpaceFacts facts;
    facts.haveFolder = true;
    facts.path = path;
    facts.haveFreeSpace = true;
    facts.freeBytes = freeBytes;
    facts.totalBytes = totalBytes;
    return facts;
}

const char* const kFirstLine = "Requires 1024 MB free disk space.\n";

} // namespace

TEST(DiskSpace_Grade, MarksAndSummaries)
{
    struct Case {
        const char* path;
        uint64_t freeBytes;
        uint64_t totalBytes;
        char status;
        const char* summary;
    } cases[] = {
        {"C:\\Program Files", 123456 * kMB, 476837 * kMB, 'A', "Drive \"C:\", 476837 total, 123456 M free (25.89%)"},
        {"C:\\Program Files", 1024 * kMB, 2048 * kMB, 'F', "Drive \"C:\", 2048 total, 1024 M free (50.00%)"},
        {"C:\\Program Files", 1025 * kMB, 2048 * kMB, 'A', "Drive \"C:\", 2048 total, 1025 M free (50.05%)"},
        // Just under 1025 MB is 1024 whole megabytes: still not enough.
        {"C:\\Program Files", 1025 * kMB - 1, 2048 * kMB, 'F', "Drive \"C:\", 2048 total, 1024 M free (50.00%)"},
        {"d:\\apps", 5000 * kMB, 10000 * kMB, 'A', "Drive \"d:\", 10000 total, 5000 M free (50.00%)"},
        {"C:\\", 0, 0, 'F', "Drive \"C:\", 0 total, 0 M free (0.00%)"},
        {"C:\\", 512 * 1024, kMB - 1, 'F', "Drive \"C:\", 0 total, 0 M free (0.00%)"},
        // Megabyte figures are 32-bit: 4 PB and more wraps as it always has.
        {"C:\\", 2048 * kMB, (1ull << 52) + 4096 * kMB, 'A', "Drive \"C:\", 4096 total, 2048 M free (50.00%)"},
    };
    for (const Case& c : cases) {
        const TestResult result = Grade(Measured(c.path, c.freeBytes, c.totalBytes));
        EXPECT_EQ(result.status, c.status) << c.summary;
        EXPECT_EQ(result.summary, c.summary);
        EXPECT_EQ(result.details, kFirstLine);
    }
}

TEST(DiskSpace_Grade, FailedQueriesKeepTheFirstLine)
{
    DiskSpaceFacts noFolder;
    TestResult result = Grade(noFolder);
    EXPECT_EQ(result.status, 'F');
    EXPECT_EQ(result.summary, "Internal Error (SHGetFolderPath)");
    EXPECT_EQ(result.details, kFirstLine);

    DiskSpaceFacts noSpace;
    noSpace.haveFolder = true;
    noSpace.path = "C:\\Program Files";
    result = Grade(noSpace);
    EXPECT_EQ(result.status, 'F');
    EXPECT_EQ(result.summary, "Internal Error (GetDiskFreeSpaceEx)");
    EXPECT_EQ(result.details, kFirstLine);
}

TEST(DiskSpace_Path, FallbacksAskedOnlyWhenNeeded)
{
    int registryReads = 0;
    int windowsReads = 0;
    auto registry = [&](std::optional<std::string> value) {
        return [&registryReads, value] {
            ++registryReads;
            return value;
        };
    };
    auto windows = [&] {
        ++windowsReads;
        return std::string("C:\\windows");
    };

    EXPECT_EQ(ChooseDiskSpacePath("C:\\Program Files", registry("D:\\Apps"), windows), "C:\\Program Files");
    EXPECT_EQ(registryReads + windowsReads, 0);

    EXPECT_EQ(ChooseDiskSpacePath("", registry("D:\\Apps"), windows), "D:\\Apps");
    EXPECT_EQ(windowsReads, 0);

    EXPECT_EQ(ChooseDiskSpacePath("", registry(std::nullopt), windows), "C:\\windows");
    EXPECT_EQ(windowsReads, 1);

    // An empty ProgramFilesDir is a text all the same.
    EXPECT_EQ(ChooseDiskSpacePath("", registry(std::string()), windows), "");

    const std::string longValue(400, 'x');
    EXPECT_EQ(ChooseDiskSpacePath("", registry(longValue), windows), std::string(259, 'x'));
}
