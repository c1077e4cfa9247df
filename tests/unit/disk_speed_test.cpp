#include "checks/network/disk_speed.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

const char* const kDetails = "Your disk should have a minimum write speed of at least 3.8 MB/s.";
constexpr uint32_t kMegabyte = 1048576;
constexpr uint32_t kWaitObject0 = 0;
constexpr uint32_t kWaitTimeout = 0x102;
constexpr uint32_t kWaitFailed = 0xFFFFFFFF;

// A disk, a clock and a Cancel button that the test scripts. Time passes only
// in the flush, where a real disk spends it.
class ScriptedDisk final : public DiskBenchmarkPlatform {
public:
    // Script.
    bool folderFound = true;
    std::string folder = "C:\\ProgramData";
    bool geometryRead = true;
    uint32_t bytesPerSector = 512;
    bool allocationSucceeds = true;
    bool createSucceeds = true;
    uint32_t startTick = 5000;
    std::vector<uint32_t> flushMs = {250};  // per flush; the last repeats
    int failingWrite = 0;                    // 1-based; 0: none fails
    uint32_t writeError = 0;
    std::string errorText;
    int shortWrite = 0;                      // 1-based; 0: none is short
    uint32_t shortWriteBytes = 0;
    int cancelAtPoll = 0;                    // 1-based; 0: never
    uint32_t cancelAnswer = kWaitObject0;

    // What happened.
    std::vector<std::string> calls;
    std::string rootAsked;
    std::string createdPath, deletedPath;
    std::vector<uint32_t> barPositions;
    std::vector<std::pair<uint32_t, uint32_t>> barRanges;
    std::string label;
    int writes = 0;
    uint64_t filePosition = 0, fileSize = 0, largestFile = 0;
    std::vector<uint8_t> firstBytesWritten;
    bool blockHeld = false, fileOpen = false;

    void SetLabelText(const std::string& text) override { label = text; }
    void SetBarRange(uint32_t low, uint32_t high) override { barRanges.emplace_back(low, high); }
    void SetBarPosition(uint32_t position) override { barPositions.push_back(position); }
    bool GetCommonAppDataFolder(std::string& out) override
    {
        calls.push_back("folder");
        if (folderFound)
            out = folder;
        return folderFound;
    }
    std::string StripToRoot(const std::string& path) override { return path.substr(0, 3); }
    bool GetBytesPerSector(const std::string& root, uint32_t& out) override
    {
        calls.push_back("geometry");
        rootAsked = root;
        out = bytesPerSector;
        return geometryRead;
    }
    uint8_t* AllocateBlock(uint32_t size) override
    {
        calls.push_back("allocate");
        if (!allocationSucceeds)
            return nullptr;
        block_.assign(size, 0);
        blockHeld = true;
        return block_.data();
    }
    void ReleaseBlock() override
    {
        calls.push_back("release");
        blockHeld = false;
    }
    int Rand() override { return nextRand_++; }
    bool CreateBenchmarkFile(const std::string& path) override
    {
        calls.push_back("create");
        createdPath = path;
        fileOpen = createSucceeds;
        return createSucceeds;
    }
    bool WriteBlock(const uint8_t* data, uint32_t size, uint32_t& written) override
    {
        ++writes;
        if (writes == 1)
            firstBytesWritten.assign(data, data + 4);
        if (writes == failingWrite) {
            lastError_ = writeError;
            return false;
        }
        written = writes == shortWrite ? shortWriteBytes : size;
        filePosition += written;
        fileSize = std::max(fileSize, filePosition);
        largestFile = std::max(largestFile, fileSize);
        lastError_ = 0;
        return true;
    }
    uint32_t LastError() override { return lastError_; }
    void FlushFile() override
    {
        const size_t i = std::min<size_t>(flushes_++, flushMs.size() - 1);
        now_ += flushMs[i];
    }
    void RewindFile() override { filePosition = 0; }
    void CloseFile() override
    {
        calls.push_back("close");
        fileOpen = false;
    }
    void DeleteFileByPath(const std::string& path) override
    {
        calls.push_back("delete");
        deletedPath = path;
    }
    uint32_t TickCount() override { return startTick + now_; }
    uint32_t WaitForCancelEvent(uint32_t timeoutMs) override
    {
        EXPECT_EQ(timeoutMs, 0u);  // a poll, never a wait
        ++polls_;
        return (cancelAtPoll != 0 && polls_ >= cancelAtPoll) ? cancelAnswer : kWaitTimeout;
    }
    bool ErrorText(uint32_t code, std::string& text) override
    {
        EXPECT_EQ(code, writeError);
        text = errorText;
        return !errorText.empty();
    }

private:
    std::vector<uint8_t> block_;
    int nextRand_ = 0x1234;
    uint32_t lastError_ = 0;
    uint32_t now_ = 0;
    size_t flushes_ = 0;
    int polls_ = 0;
};

TestResult RunBenchmark(ScriptedDisk& disk)
{
    TestResult result;
    RunDiskSpeedBenchmark(disk, result);
    return result;
}

} // namespace

TEST(DiskSpeed_Minimum, SinglePrecisionValueAndDetails)
{
    EXPECT_EQ(g_minDiskWriteSpeed, 3.84368896484375f);
    ScriptedDisk disk;
    EXPECT_EQ(RunBenchmark(disk).details, kDetails);
}

TEST(DiskSpeed_BlockSize, DoubledSectorUntilAMegabyte)
{
    const struct {
        uint32_t sector, block;
    } cases[] = {
        {512, 1048576},  {4096, 1048576}, {3000, 1536000},  {1, 1048576},
        {1048575, 2097150}, {1048576, 1048576}, {4194304, 4194304}, {0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DiskBlockSize(c.sector), c.block) << c.sector;
}

TEST(DiskSpeed_Grade, RateAndStrictComparisonInSinglePrecision)
{
    const struct {
        uint32_t blockSize, blocks, ms;
        const char* summary;
        char status;
    } cases[] = {
        {kMegabyte, 45, 10000, "Disk un-buffered write speed: 4.5 MB / s", 'A'},
        {kMegabyte, 38, 10000, "Disk un-buffered write speed: 3.8 MB / s", 'F'},
        {kMegabyte, 40, 10406, "Disk un-buffered write speed: 3.8 MB / s", 'A'},
        {kMegabyte, 40, 10407, "Disk un-buffered write speed: 3.8 MB / s", 'F'},
        {1536000, 30, 10000, "Disk un-buffered write speed: 4.4 MB / s", 'A'},
        // More than 4 GB in ten seconds: no 32-bit wrap of the byte count.
        {kMegabyte, 5000, 10000, "Disk un-buffered write speed: 500.0 MB / s", 'A'},
        // Cancel before the tick count moved: taken over one millisecond.
        {kMegabyte, 0, 0, "Disk un-buffered write speed: 0.0 MB / s", 'F'},
        {kMegabyte, 1, 0, "Disk un-buffered write speed: 1000.0 MB / s", 'A'},
    };
    for (const auto& c : cases) {
        TestResult result;
        GradeDiskSpeed({c.blockSize, c.blocks, c.ms}, result);
        EXPECT_EQ(result.summary, c.summary) << c.blocks << " blocks in " << c.ms;
        EXPECT_EQ(result.status, c.status) << c.blocks << " blocks in " << c.ms;
    }
}

TEST(DiskSpeed_Loop, TenSecondsOfFlushedWritesThenCleanUp)
{
    ScriptedDisk disk;  // 250 ms per block: 40 blocks
    const TestResult result = RunBenchmark(disk);
    EXPECT_EQ(result.summary, "Disk un-buffered write speed: 4.0 MB / s");
    EXPECT_EQ(result.status, 'A');
    EXPECT_EQ(result.details, kDetails);
    EXPECT_EQ(disk.writes, 40);
    EXPECT_EQ(disk.rootAsked, "C:\\");
    EXPECT_EQ(disk.createdPath, "C:\\ProgramData\\kavlo.tmp");
    EXPECT_EQ(disk.deletedPath, disk.createdPath);
    // The file never holds more than 17 blocks.
    EXPECT_EQ(disk.largestFile, 17u * kMegabyte);
    EXPECT_EQ(disk.calls, (std::vector<std::string>{"folder", "geometry", "allocate", "create", "close", "delete",
                                                    "release"}));
    // Filled from rand before the clock starts, low 8 bits of each value.
    EXPECT_EQ(disk.firstBytesWritten, (std::vector<uint8_t>{0x34, 0x35, 0x36, 0x37}));
    EXPECT_EQ(disk.label, "Benchmarking disk speed.");
    EXPECT_EQ(disk.barRanges, (std::vector<std::pair<uint32_t, uint32_t>>{{0, 0}, {0, 10000}}));
    // The bar shows elapsed milliseconds: reset twice, then one step per block.
    ASSERT_EQ(disk.barPositions.size(), 42u);
    EXPECT_EQ(disk.barPositions[2], 250u);
    EXPECT_EQ(disk.barPositions.back(), 10000u);
}

TEST(DiskSpeed_Loop, ElapsedTimeDecidesAtTheMinimum)
{
    // 39 blocks of 256 ms, then one of 422: 40 blocks in 10,406 ms; one more
    // millisecond fails, although the summary is the same.
    for (const auto& [lastMs, status] : {std::pair<uint32_t, char>{422, 'A'}, {423, 'F'}}) {
        ScriptedDisk disk;
        disk.flushMs.assign(39, 256);
        disk.flushMs.push_back(lastMs);
        const TestResult result = RunBenchmark(disk);
        EXPECT_EQ(disk.writes, 40);
        EXPECT_EQ(result.summary, "Disk un-buffered write speed: 3.8 MB / s");
        EXPECT_EQ(result.status, status) << lastMs;
    }
}

TEST(DiskSpeed_Loop, TickCountWrapDuringTheMeasurement)
{
    ScriptedDisk disk;
    disk.startTick = 0xFFFFF000;  // wraps after 4,096 ms
    disk.flushMs = {277};  // 37 blocks in 10,249 ms
    const TestResult result = RunBenchmark(disk);
    EXPECT_EQ(disk.writes, 37);
    EXPECT_EQ(result.summary, "Disk un-buffered write speed: 3.6 MB / s");
}

TEST(DiskSpeed_Loop, WriteFailuresEndWithoutARate)
{
    const struct {
        int failingWrite, shortWrite;
        uint32_t shortBytes, error;
        const char* text;
        const char* summary;
    } cases[] = {
        {3, 0, 0, 112, "There is not enough space on the disk.\r",
         "Write failed: There is not enough space on the disk.\r"},
        {1, 0, 0, 5, "", "Write failed: "},
        {0, 2, 512, 0, "", "Write incomplete: 512 of 1048576 bytes."},
        {0, 1, 0, 0, "", "Write incomplete: 0 of 1048576 bytes."},
    };
    for (const auto& c : cases) {
        ScriptedDisk disk;
        disk.failingWrite = c.failingWrite;
        disk.shortWrite = c.shortWrite;
        disk.shortWriteBytes = c.shortBytes;
        disk.writeError = c.error;
        disk.errorText = c.text;
        const TestResult result = RunBenchmark(disk);
        EXPECT_EQ(result.summary, c.summary);
        EXPECT_EQ(result.status, 'F');
        EXPECT_EQ(result.details, kDetails);
        EXPECT_EQ(disk.writes, std::max(c.failingWrite, c.shortWrite));  // nothing written after it
        EXPECT_FALSE(disk.fileOpen);
        EXPECT_FALSE(disk.blockHeld);
        EXPECT_EQ(disk.deletedPath, "C:\\ProgramData\\kavlo.tmp");
    }
}

TEST(DiskSpeed_Loop, CancelGradesWhatWasWritten)
{
    const struct {
        int cancelAtPoll;
        uint32_t answer, flushMs;
        int writes;
        const char* summary;
        char status;
    } cases[] = {
        // Five blocks in 1.25 s, then Cancel before the sixth.
        {6, kWaitObject0, 250, 5, "Disk un-buffered write speed: 4.0 MB / s", 'A'},
        // Cancel at once: the tick count never moved.
        {1, kWaitObject0, 250, 0, "Disk un-buffered write speed: 0.0 MB / s", 'F'},
        // One block within the same tick, then Cancel: over one millisecond.
        {2, kWaitObject0, 0, 1, "Disk un-buffered write speed: 1000.0 MB / s", 'A'},
        // A wait that fails is not a time-out: the measurement stops too.
        {3, kWaitFailed, 1000, 2, "Disk un-buffered write speed: 1.0 MB / s", 'F'},
    };
    for (const auto& c : cases) {
        ScriptedDisk disk;
        disk.cancelAtPoll = c.cancelAtPoll;
        disk.cancelAnswer = c.answer;
        disk.flushMs = {c.flushMs};
        const TestResult result = RunBenchmark(disk);
        EXPECT_EQ(disk.writes, c.writes) << c.cancelAtPoll;
        EXPECT_EQ(result.summary, c.summary) << c.cancelAtPoll;
        EXPECT_EQ(result.status, c.status) << c.cancelAtPoll;
        EXPECT_FALSE(disk.fileOpen);
        EXPECT_FALSE(disk.blockHeld);
    }
}

TEST(DiskSpeed_Setup, EachFailureStopsBeforeTheFileAndGivesBackTheBlock)
{
    const struct {
        const char* name;
        void (*script)(ScriptedDisk&);
        const char* summary;
        std::vector<std::string> calls;
    } cases[] = {
        {"folder", [](ScriptedDisk& d) { d.folderFound = false; }, "Unable to resolve CSIDL_COMMON_APPDATA",
         {"folder"}},
        {"path too long", [](ScriptedDisk& d) { d.folder = "C:\\" + std::string(247, 'x'); },
         "Unable to write to local disk", {"folder"}},
        {"geometry", [](ScriptedDisk& d) { d.geometryRead = false; }, "Unable to size local disk",
         {"folder", "geometry"}},
        {"sector size 0", [](ScriptedDisk& d) { d.bytesPerSector = 0; }, "Unable to size local disk",
         {"folder", "geometry"}},
        {"allocation", [](ScriptedDisk& d) { d.allocationSucceeds = false; }, "VirtualAlloc() failed.",
         {"folder", "geometry", "allocate"}},
        {"create", [](ScriptedDisk& d) { d.createSucceeds = false; }, "Unable to write to local disk",
         {"folder", "geometry", "allocate", "create", "release"}},
    };
    for (const auto& c : cases) {
        ScriptedDisk disk;
        c.script(disk);
        const TestResult result = RunBenchmark(disk);
        EXPECT_EQ(result.summary, c.summary) << c.name;
        EXPECT_EQ(result.status, 'F') << c.name;
        EXPECT_EQ(result.details, kDetails) << c.name;
        EXPECT_EQ(disk.calls, c.calls) << c.name;
        EXPECT_EQ(disk.writes, 0) << c.name;
        EXPECT_FALSE(disk.blockHeld) << c.name;
    }
    // The longest folder that still fits: 259 characters with the file name.
    ScriptedDisk fits;
    fits.folder = "C:\\" + std::string(246, 'x');
    fits.flushMs = {5000};
    RunBenchmark(fits);
    EXPECT_EQ(fits.createdPath.size(), 259u);
}
