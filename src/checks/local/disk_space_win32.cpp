#include "checks/local/disk_space.h"

#include "platform/registry_win32.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>

DiskSpaceFacts QueryDiskSpaceFacts()
{
    DiskSpaceFacts facts;
    char folder[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, folder, CSIDL_PROGRAM_FILES, FALSE))
        return facts;
    facts.haveFolder = true;
    facts.path = ChooseDiskSpacePath(
        std::string(folder, strnlen(folder, sizeof(folder))),
        [] {
            return ReadRegKeyValueText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                                       "ProgramFilesDir");
        },
        [] {
            char windows[MAX_PATH] = {};
            const UINT length = GetSystemWindowsDirectoryA(windows, sizeof(windows));
            return length > 0 && length < sizeof(windows) ? std::string(windows, length) : std::string();
        });

    // The whole path, not its root: a mounted folder reports its own volume.
    ULARGE_INTEGER freeToCaller = {};
    ULARGE_INTEGER total = {};
    ULARGE_INTEGER totalFree = {};
    if (!GetDiskFreeSpaceExA(facts.path.c_str(), &freeToCaller, &total, &totalFree))
        return facts;
    facts.haveFreeSpace = true;
    facts.freeBytes = freeToCaller.QuadPart;
    facts.totalBytes = total.QuadPart;
    return facts;
}

void CheckDiskSpace(TestResult& result)
{
    GradeDiskSpace(QueryDiskSpaceFacts(), result);
}
