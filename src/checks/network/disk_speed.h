// Disk Speed: ten seconds of unbuffered, flushed writes of one large block
// into a temporary file, graded against a minimum write rate.
#pragma once

#include "app/test_result.h"

#include <cstdint>
#include <string>

// Megabytes per second a disk must beat (3.84368896484375, shown as 3.8).
extern const float g_minDiskWriteSpeed;

// The calls the benchmark makes, one method per call, taking and answering
// what the call takes and answers. Windows forwards them; tests script them.
class DiskBenchmarkPlatform {
public:
    virtual ~DiskBenchmarkPlatform() = default;

    // The progress dialog's label 1003 and bar 1002 (SetWindowTextA,
    // PBM_SETRANGE32, PBM_SETPOS); results ignored.
    virtual void SetLabelText(const std::string& text) = 0;
    virtual void SetBarRange(uint32_t low, uint32_t high) = 0;
    virtual void SetBarPosition(uint32_t position) = 0;

    // SHGetSpecialFolderPathA(CSIDL_COMMON_APPDATA), false when not found.
    virtual bool GetCommonAppDataFolder(std::string& folder) = 0;
    // PathStripToRootA: "C:\ProgramData\kavlo.tmp" becomes "C:\".
    virtual std::string StripToRoot(const std::string& path) = 0;
    // GetDiskFreeSpaceA of the root, of which only bytes per sector is used.
    virtual bool GetBytesPerSector(const std::string& root, uint32_t& bytesPerSector) = 0;

    // VirtualAlloc(MEM_COMMIT, PAGE_READWRITE): page-aligned, null on failure.
    virtual uint8_t* AllocateBlock(uint32_t size) = 0;
    // VirtualFree(MEM_RELEASE) of the block, when there is one.
    virtual void ReleaseBlock() = 0;
    // The C runtime's rand, never seeded.
    virtual int Rand() = 0;

    // What GetFileInformationByHandle tells of an open file.
    struct FileInformation {
        uint32_t attributes = 0;  // FILE_ATTRIBUTE_*
        uint32_t links = 0;       // nNumberOfLinks
    };
    // CreateFileA(DELETE | FILE_READ_ATTRIBUTES, no sharing, OPEN_EXISTING,
    // FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS): whatever
    // stands at the path itself, a link or a folder included, never what a
    // link points to. It becomes the open file; LastError tells why not.
    virtual bool OpenExistingEntry(const std::string& path) = 0;
    // GetFileInformationByHandle of the open file.
    virtual bool ReadFileInformation(FileInformation& information) = 0;
    // SetFileInformationByHandle(FileDispositionInfo, delete): the open file
    // goes when it is closed; false when it may not be deleted.
    virtual bool DeleteOpenFile() = 0;
    // CreateFileA(GENERIC_WRITE | DELETE, no sharing, CREATE_NEW,
    // FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_NO_BUFFERING |
    // FILE_FLAG_DELETE_ON_CLOSE): fails when anything at all stands at the
    // path, a link included. It becomes the open file.
    virtual bool CreateBenchmarkFile(const std::string& path) = 0;
    // WriteFile of the whole block, synchronous.
    virtual bool WriteBlock(const uint8_t* data, uint32_t size, uint32_t& written) = 0;
    virtual uint32_t LastError() = 0;
    virtual void FlushFile() = 0;     // FlushFileBuffers, result ignored
    virtual void RewindFile() = 0;    // SetFilePointer(0, FILE_BEGIN), result ignored
    virtual void CloseFile() = 0;     // CloseHandle, when a file is open

    virtual uint32_t TickCount() = 0;
    // WaitForSingleObject(g_cancelEvent, timeout): 0x102 (a time-out) means go on.
    virtual uint32_t WaitForCancelEvent(uint32_t timeoutMs) = 0;
    // The system's text for an error number; false and empty when there is none.
    virtual bool ErrorText(uint32_t code, std::string& text) = 0;
};

// What the grade depends on: how much was written in how long.
struct DiskSpeedFacts {
    uint32_t blockSize = 0;
    uint32_t blocksWritten = 0;
    uint32_t elapsedMs = 0;
};

// The bytes per sector doubled until at least a megabyte; 0 when the volume
// reports no sector size at all.
uint32_t DiskBlockSize(uint32_t bytesPerSector);

// The rate in the summary and A when it beats the minimum, otherwise F.
void GradeDiskSpeed(const DiskSpeedFacts& facts, TestResult& result);

// The whole benchmark: folder, geometry, block, file, the timed loop, the
// grade, and the details line on every path.
void RunDiskSpeedBenchmark(DiskBenchmarkPlatform& platform, TestResult& result);

void CheckDiskSpeed(TestResult& result);
