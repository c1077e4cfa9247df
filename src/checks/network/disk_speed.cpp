#include "checks/network/disk_speed.h"

#include "app/text_format.h"

#include <utility>

namespace {

constexpr uint32_t kMegabyte = 1048576;
constexpr uint32_t kMeasuringMs = 10000;
// After this many blocks every further write goes back to the start of the
// file, so the file never holds more than one block beyond them.
constexpr uint32_t kGrowingBlocks = 16;
constexpr uint32_t kWaitTimeout = 0x102;
constexpr size_t kPathBuffer = 260;
constexpr size_t kTextBuffer = 260;
const char kFileName[] = "\\kavlo.tmp";
constexpr uint32_t kErrorFileNotFound = 2;
constexpr uint32_t kAttributeDirectory = 0x10;
constexpr uint32_t kAttributeReparsePoint = 0x400;

// Each quotient is taken to single precision before the sum, and so is the
// product; both quotients are exact, so the result is 3.84368896484375.
constexpr float MinDiskWriteSpeed()
{
    const float base = static_cast<float>(2706000.0 / kMegabyte);
    const float overhead = static_cast<float>(42000.0 / kMegabyte);
    const float sum = base + overhead;
    return static_cast<float>(sum * 1.4666667);
}

void Fail(TestResult& result, std::string summary)
{
    result.summary = std::move(summary);
    result.status = 'F';
}

// The folder is writable by every account, so whatever stands at the path
// may have been put there by another one: a link to some other file, which
// the benchmark would truncate and delete. Only a plain file with no other
// name, a leftover of an earlier run, is removed, through the handle that
// looked at it and never by its path. True when the path is free.
bool ClearLeftoverFile(DiskBenchmarkPlatform& platform, const std::string& path)
{
    if (!platform.OpenExistingEntry(path))
        return platform.LastError() == kErrorFileNotFound;
    DiskBenchmarkPlatform::FileInformation entry;
    const bool plainFile = platform.ReadFileInformation(entry) &&
                           (entry.attributes & (kAttributeDirectory | kAttributeReparsePoint)) == 0 &&
                           entry.links == 1;
    const bool removed = plainFile && platform.DeleteOpenFile();
    platform.CloseFile();
    return removed;
}

// The file the benchmark created goes on every path: marked for deletion
// through its own handle, then closed (the delete-on-close flag should
// already remove it). Never by its path: once closed, whatever stands there
// is no longer the benchmark's.
class OpenBenchmarkFile {
public:
    explicit OpenBenchmarkFile(DiskBenchmarkPlatform& platform) : platform_(platform) {}
    ~OpenBenchmarkFile()
    {
        platform_.DeleteOpenFile();
        platform_.CloseFile();
    }
    OpenBenchmarkFile(const OpenBenchmarkFile&) = delete;
    OpenBenchmarkFile& operator=(const OpenBenchmarkFile&) = delete;

private:
    DiskBenchmarkPlatform& platform_;
};

class CommittedBlock {
public:
    explicit CommittedBlock(DiskBenchmarkPlatform& platform) : platform_(platform) {}
    ~CommittedBlock() { platform_.ReleaseBlock(); }
    CommittedBlock(const CommittedBlock&) = delete;
    CommittedBlock& operator=(const CommittedBlock&) = delete;

private:
    DiskBenchmarkPlatform& platform_;
};

// Writes and flushes the block again and again for the measuring time, or
// until Cancel, then grades what was written. A failed or short write ends
// the check without a rate.
void WriteForMeasuringTime(DiskBenchmarkPlatform& platform, const uint8_t* block, uint32_t blockSize,
                           TestResult& result)
{
    const uint32_t start = platform.TickCount();
    platform.SetBarPosition(0);
    platform.SetBarRange(0, kMeasuringMs);

    uint32_t blocks = 0;
    // Unsigned differences, so a tick count that wraps during the ten
    // seconds still measures the time that passed.
    while (platform.TickCount() - start < kMeasuringMs) {
        if (platform.WaitForCancelEvent(0) != kWaitTimeout)
            break;
        uint32_t written = 0;
        if (!platform.WriteBlock(block, blockSize, written)) {
            const uint32_t error = platform.LastError();
            std::string text;
            platform.ErrorText(error, text);
            Fail(result, FormatBounded(kTextBuffer, "Write failed: %s", text.c_str()));
            return;
        }
        if (written < blockSize) {
            Fail(result, FormatBounded(kTextBuffer, "Write incomplete: %d of %d bytes.", static_cast<int>(written),
                                       static_cast<int>(blockSize)));
            return;
        }
        // Without the flush the system cache, not the disk, would be measured.
        platform.FlushFile();
        ++blocks;
        if (blocks > kGrowingBlocks)
            platform.RewindFile();
        platform.SetBarPosition(platform.TickCount() - start);
    }
    GradeDiskSpeed({blockSize, blocks, platform.TickCount() - start}, result);
}

} // namespace

const float g_minDiskWriteSpeed = MinDiskWriteSpeed();

uint32_t DiskBlockSize(uint32_t bytesPerSector)
{
    // Doubling zero never reaches a megabyte.
    if (bytesPerSector == 0)
        return 0;
    uint32_t size = bytesPerSector;
    while (size < kMegabyte)
        size *= 2;
    return size;
}

void GradeDiskSpeed(const DiskSpeedFacts& facts, TestResult& result)
{
    // The product in 64 bits: a fast disk writes more than 4 GB in ten seconds.
    const float megabytes =
        static_cast<float>(static_cast<double>(static_cast<uint64_t>(facts.blockSize) * facts.blocksWritten) /
                           kMegabyte);
    // Cancel pressed at once can end the measurement before the tick count
    // moves; it is then taken as one millisecond rather than divided by zero.
    const uint32_t elapsedMs = facts.elapsedMs == 0 ? 1 : facts.elapsedMs;
    const double seconds = elapsedMs * 0.001;
    const double speed = megabytes / seconds;
    result.summary = FormatBounded(kTextBuffer, "Disk un-buffered write speed: %.1f MB / s", speed);
    // The comparison is made in single precision, like the minimum itself:
    // 40 MB in 10,406 ms pass, in 10,407 ms fail, though both show 3.8.
    result.status = static_cast<float>(speed) > g_minDiskWriteSpeed ? 'A' : 'F';
}

namespace {

void MeasureDiskSpeed(DiskBenchmarkPlatform& platform, TestResult& result)
{
    platform.SetLabelText("Benchmarking disk speed.");
    platform.SetBarPosition(0);
    platform.SetBarRange(0, 0);

    std::string folder;
    if (!platform.GetCommonAppDataFolder(folder)) {
        Fail(result, "Unable to resolve CSIDL_COMMON_APPDATA");
        return;
    }
    // The path has to fit a 260-byte buffer whole: a cut path would name
    // another file, in another folder, that the benchmark would then replace
    // and delete.
    if (folder.size() + sizeof(kFileName) > kPathBuffer) {
        Fail(result, "Unable to write to local disk");
        return;
    }
    const std::string path = folder + kFileName;

    uint32_t bytesPerSector = 0;
    if (!platform.GetBytesPerSector(platform.StripToRoot(path), bytesPerSector) || bytesPerSector == 0) {
        Fail(result, "Unable to size local disk");
        return;
    }
    const uint32_t blockSize = DiskBlockSize(bytesPerSector);

    uint8_t* block = platform.AllocateBlock(blockSize);
    if (block == nullptr) {
        Fail(result, "VirtualAlloc() failed.");
        return;
    }
    CommittedBlock blockRelease(platform);
    // Filled before the clock starts, so only the writes are timed.
    for (uint32_t i = 0; i < blockSize; ++i)
        block[i] = static_cast<uint8_t>(platform.Rand() & 0xFF);

    // A link planted after the path was cleared makes the create fail
    // rather than be followed.
    if (!ClearLeftoverFile(platform, path) || !platform.CreateBenchmarkFile(path)) {
        Fail(result, "Unable to write to local disk");
        return;
    }
    OpenBenchmarkFile fileClose(platform);
    WriteForMeasuringTime(platform, block, blockSize, result);
}

} // namespace

void RunDiskSpeedBenchmark(DiskBenchmarkPlatform& platform, TestResult& result)
{
    MeasureDiskSpeed(platform, result);
    result.details = FormatBounded(kTextBuffer, "Your disk should have a minimum write speed of at least %.1f MB/s.",
                                   static_cast<double>(g_minDiskWriteSpeed));
}
