#include "checks/local/disk_space.h"

#include "app/text_format.h"

namespace {

constexpr uint32_t kRequiredFreeMegabytes = 1024;
constexpr size_t kPathBufferSize = 260;
constexpr size_t kLineBufferSize = 256;

uint32_t Megabytes(uint64_t bytes)
{
    return static_cast<uint32_t>(bytes >> 20);
}

} // namespace

std::string ChooseDiskSpacePath(const std::string& programFilesFolder,
                                const std::function<std::optional<std::string>()>& readProgramFilesDir,
                                const std::function<std::string()>& windowsDirectory)
{
    if (!programFilesFolder.empty())
        return CutToBuffer(programFilesFolder, kPathBufferSize);
    if (const std::optional<std::string> value = readProgramFilesDir())
        return CutToBuffer(*value, kPathBufferSize);
    return CutToBuffer(windowsDirectory(), kPathBufferSize);
}

void GradeDiskSpace(const DiskSpaceFacts& facts, TestResult& result)
{
    result.details += FormatBounded(kLineBufferSize, "Requires %lu MB free disk space.\n",
                                    static_cast<unsigned long>(kRequiredFreeMegabytes));
    if (!facts.haveFolder) {
        result.status = 'F';
        result.summary = "Internal Error (SHGetFolderPath)";
        return;
    }
    if (!facts.haveFreeSpace) {
        result.status = 'F';
        result.summary = "Internal Error (GetDiskFreeSpaceEx)";
        return;
    }

    const uint32_t freeMB = Megabytes(facts.freeBytes);
    const uint32_t totalMB = Megabytes(facts.totalBytes);
    // Exactly the required amount is not enough: the software needs room beyond it.
    result.status = freeMB > kRequiredFreeMegabytes ? 'A' : 'F';
    // A volume of less than one megabyte has no whole megabyte to divide by;
    // it shows 0.00% free rather than a division by zero.
    const double percent = totalMB == 0 ? 0.0 : static_cast<double>(freeMB) / totalMB * 100.0;
    // The drive letter is shown as the path gives it, lower case included.
    const char drive = facts.path.empty() ? '?' : facts.path[0];
    result.summary = FormatBounded(kLineBufferSize, "Drive \"%c:\", %lu total, %lu M free (%4.2f%%)", drive,
                                   static_cast<unsigned long>(totalMB), static_cast<unsigned long>(freeMB), percent);
}
