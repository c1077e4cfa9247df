#include "checks/network/disk_speed.h"
#include "graded.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// A disk, a clock and a Cancel button that the test scripts. Time passes only
// in the flush, where a real disk spends it.
class ScriptedDisk final : public DiskBenchmarkPlatform {
public:
    std::string folder = "C:\\" + std::string(246, 'x');  // the longest that fits: 259 with "\\kavlo.tmp"
    std::string failing;  // the call that fails: "folder", "geometry", "allocate", "info", "remove" or "create"
    uint32_t entryError = 2;  // why nothing can be opened at the path (2: nothing there); 0: an entry is there
    uint32_t entryAttributes = 0x20, entryLinks = 1;
    uint32_t bytesPerSector = 512, startTick = 5000, flushMs = 250;
    int failingWrite = 0, shortWrite = 0, cancelAtPoll = 0;  // 1-based; 0: none

    std::string calls, label, createdPath;
    int writes = 0;
    uint64_t filePosition = 0, largestFile = 0;
    uint32_t lastBarPosition = 0;

    void SetLabelText(const std::string& text) override { label = text; }
    void SetBarRange(uint32_t, uint32_t) override {}
    void SetBarPosition(uint32_t position) override { lastBarPosition = position; }
    bool GetCommonAppDataFolder(std::string& out) override { return out = folder, Call("folder"); }
    std::string StripToRoot(const std::string& path) override { return path.substr(0, 3); }
    bool GetBytesPerSector(const std::string&, uint32_t& n) override { return n = bytesPerSector, Call("geometry"); }
    uint8_t* AllocateBlock(uint32_t size) override
    {
        block_.resize(size);
        return Call("allocate") ? block_.data() : nullptr;
    }
    void ReleaseBlock() override { Call("release"); }
    int Rand() override { return 0; }
    bool OpenExistingEntry(const std::string&) override { return Call("inspect"), (lastError_ = entryError) == 0; }
    bool ReadFileInformation(FileInformation& info) override
    {
        return info = {entryAttributes, entryLinks}, Call("info");
    }
    bool DeleteOpenFile() override { return Call("remove"); }
    bool CreateBenchmarkFile(const std::string& path) override { return createdPath = path, Call("create"); }
    bool WriteBlock(const uint8_t*, uint32_t size, uint32_t& written) override
    {
        // A measurement that never ends (the clock stands, Cancel unseen) stops as a failed write.
        if (++writes == failingWrite || writes > 100000)
            return lastError_ = 112, false;
        written = writes == shortWrite ? 512 : size;
        largestFile = std::max(largestFile, filePosition += written);
        return true;
    }
    uint32_t LastError() override { return lastError_; }
    void FlushFile() override { now_ += flushMs; }
    void RewindFile() override { filePosition = 0; }
    void CloseFile() override { Call("close"); }
    uint32_t TickCount() override { return startTick + now_; }
    uint32_t WaitForCancelEvent(uint32_t) override { return ++polls_ == cancelAtPoll ? 0 : 0x102; }
    bool ErrorText(uint32_t code, std::string& text) override { return text = code == 112 ? "No room.\r" : "?", true; }

private:
    bool Call(const std::string& name) { return calls += (calls.empty() ? "" : " ") + name, name != failing; }
    std::vector<uint8_t> block_;
    uint32_t now_ = 0, lastError_ = 0;
    int polls_ = 0;
};

TEST(DiskSpeed_BlockSize, DoubledSectorUntilAMegabyte)
{
    for (const auto& [sector, block] : {std::pair{512u, 1048576u}, {3000u, 1536000u}, {0u, 0u}})
        EXPECT_EQ(DiskBlockSize(sector), block) << sector;
}

TEST(DiskSpeed_Grade, RateAndStrictComparisonInSinglePrecision)
{
    const std::tuple<uint32_t, uint32_t, const char*, char> cases[] = {  // blocks, milliseconds
        {40, 10406, "Disk un-buffered write speed: 3.8 MB / s", 'A'},
        {40, 10407, "Disk un-buffered write speed: 3.8 MB / s", 'F'},
        {5000, 10000, "Disk un-buffered write speed: 500.0 MB / s", 'A'},  // beyond 4 GB: no 32-bit wrap
    };
    for (const auto& [blocks, ms, summary, status] : cases)
        EXPECT_EQ(Graded(GradeDiskSpeed, {1048576, blocks, ms}), Record(status, summary, "")) << blocks << " in " << ms;
}

TEST(DiskSpeed_Run, EveryPathGradesOrFailsAndCleansUp)
{
    const std::string rate = "Disk un-buffered write speed: ", cannot = "Unable to write to local disk";
    const char* const whole = "folder geometry allocate inspect create remove close release";
    const char* const refused = "folder geometry allocate inspect info close release";
    using Script = void (*)(ScriptedDisk&);
    const struct { Script script; int writes; std::string summary; char status; const char* calls; } cases[] = {
        {[](ScriptedDisk&) {}, 40, rate + "4.0 MB / s", 'A', whole},
        // The tick count wraps during the measurement.
        {[](ScriptedDisk& d) { d.startTick = 0xFFFFF000; d.flushMs = 277; }, 37, rate + "3.6 MB / s", 'F', whole},
        {[](ScriptedDisk& d) { d.failingWrite = 3; }, 3, "Write failed: No room.\r", 'F', whole},
        {[](ScriptedDisk& d) { d.shortWrite = 2; }, 2, "Write incomplete: 512 of 1048576 bytes.", 'F', whole},
        // Cancel before the clock moved: over one millisecond, not zero.
        {[](ScriptedDisk& d) { d.cancelAtPoll = 1; }, 0, rate + "0.0 MB / s", 'F', whole},
        {[](ScriptedDisk& d) { d.failing = "folder"; }, 0, "Unable to resolve CSIDL_COMMON_APPDATA", 'F', "folder"},
        // A cut path would name another file, which would be replaced and deleted.
        {[](ScriptedDisk& d) { d.folder += 'x'; }, 0, cannot, 'F', "folder"},
        {[](ScriptedDisk& d) { d.failing = "geometry"; }, 0, "Unable to size local disk", 'F', "folder geometry"},
        {[](ScriptedDisk& d) { d.bytesPerSector = 0; }, 0, "Unable to size local disk", 'F', "folder geometry"},
        {[](ScriptedDisk& d) { d.failing = "allocate"; }, 0, "VirtualAlloc() failed.", 'F', "folder geometry allocate"},
        {[](ScriptedDisk& d) { d.failing = "create"; }, 0, cannot, 'F',
         "folder geometry allocate inspect create release"},
        // Another account may have put a link or a folder at the path: only a plain file with no other
        // name is removed (through the handle that looked at it) and replaced; anything else is left as
        // it is (as is one held open: 32), neither written nor deleted, and the check cannot write.
        {[](ScriptedDisk& d) { d.entryError = 0; }, 40, rate + "4.0 MB / s", 'A',
         "folder geometry allocate inspect info remove close create remove close release"},
        {[](ScriptedDisk& d) { d.entryError = 0, d.entryAttributes = 0x420; }, 0, cannot, 'F', refused},  // a link
        {[](ScriptedDisk& d) { d.entryError = 0, d.entryLinks = 2; }, 0, cannot, 'F', refused},  // a hard link
        {[](ScriptedDisk& d) { d.entryError = 0, d.entryAttributes = 0x10; }, 0, cannot, 'F', refused},  // a folder
        {[](ScriptedDisk& d) { d.entryError = 0, d.failing = "info"; }, 0, cannot, 'F', refused},
        {[](ScriptedDisk& d) { d.entryError = 0, d.failing = "remove"; }, 0, cannot, 'F',
         "folder geometry allocate inspect info remove close release"},
        {[](ScriptedDisk& d) { d.entryError = 32; }, 0, cannot, 'F', "folder geometry allocate inspect release"},
    };
    for (const auto& c : cases) {
        ScriptedDisk disk;
        c.script(disk);
        TestResult result;
        RunDiskSpeedBenchmark(disk, result);
        EXPECT_EQ(std::tie(disk.writes, result.summary, result.status, disk.calls),  // nothing written after a failure
                  std::tie(c.writes, c.summary, c.status, c.calls));
        EXPECT_EQ(result.details, "Your disk should have a minimum write speed of at least 3.8 MB/s.");
        EXPECT_EQ(disk.label, "Benchmarking disk speed.");
        // A whole measurement: the file never holds more than 17 blocks; the bar shows elapsed milliseconds.
        if (c.writes == 40) {
            EXPECT_EQ(std::make_tuple(disk.createdPath, disk.largestFile, disk.lastBarPosition),
                      std::make_tuple(disk.folder + "\\kavlo.tmp", 17u * 1048576, 10000u));
        }
    }
}

} // namespace
