// Disk Space: free space on the drive that holds Program Files.
#pragma once

#include "app/test_result.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

struct DiskSpaceFacts {
    bool haveFolder = false;         // the Program Files folder query answered
    std::string path;                // the path measured
    bool haveFreeSpace = false;      // GetDiskFreeSpaceEx answered
    uint64_t freeBytes = 0;          // available to the calling user
    uint64_t totalBytes = 0;
};

// The path to measure: the Program Files folder, or when the folder query
// gave an empty path, the ProgramFilesDir value (cut to 259 characters),
// or when that is missing too, the Windows directory. The two fallbacks are
// asked only when needed.
std::string ChooseDiskSpacePath(const std::string& programFilesFolder,
                                const std::function<std::optional<std::string>()>& readProgramFilesDir,
                                const std::function<std::string()>& windowsDirectory);

void GradeDiskSpace(const DiskSpaceFacts& facts, TestResult& result);

// The facts as this system reports them, and the check itself (Windows build).
DiskSpaceFacts QueryDiskSpaceFacts();
void CheckDiskSpace(TestResult& result);
