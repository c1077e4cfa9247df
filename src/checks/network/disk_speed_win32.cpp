#include "checks/network/disk_speed.h"

#include "app/app_globals_win32.h"
#include "app/error_text_win32.h"
#include "platform/scoped_win32.h"
#include "resource_ids.h"

#include <commctrl.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstdlib>

namespace {

struct VirtualMemoryTraits {
    static void* Invalid() { return nullptr; }
    static bool IsValid(void* p) { return p != nullptr; }
    static void Close(void* p) { VirtualFree(p, 0, MEM_RELEASE); }
};
using ScopedVirtualMemory = Scoped<void*, VirtualMemoryTraits>;

// Forwards each call of the benchmark to Windows. Whatever the benchmark has
// not given back when this ends is given back here, file before block.
class Win32DiskBenchmark final : public DiskBenchmarkPlatform {
public:
    Win32DiskBenchmark()
        : bar_(GetDlgItem(g_hProgressDlg, IDC_PROGRESS_CHECK_BAR)),
          label_(GetDlgItem(g_hProgressDlg, IDC_PROGRESS_CHECK_LABEL))
    {
    }

    void SetLabelText(const std::string& text) override { SetWindowTextA(label_, text.c_str()); }
    void SetBarRange(uint32_t low, uint32_t high) override { SendMessageA(bar_, PBM_SETRANGE32, low, high); }
    void SetBarPosition(uint32_t position) override { SendMessageA(bar_, PBM_SETPOS, position, 0); }

    bool GetCommonAppDataFolder(std::string& folder) override
    {
        char buffer[MAX_PATH] = {};
        if (!SHGetSpecialFolderPathA(nullptr, buffer, CSIDL_COMMON_APPDATA, FALSE))
            return false;
        folder = buffer;
        return true;
    }

    std::string StripToRoot(const std::string& path) override
    {
        char buffer[MAX_PATH] = {};
        lstrcpynA(buffer, path.c_str(), MAX_PATH);
        PathStripToRootA(buffer);
        return buffer;
    }

    bool GetBytesPerSector(const std::string& root, uint32_t& bytesPerSector) override
    {
        DWORD sectorsPerCluster = 0, sectorBytes = 0, freeClusters = 0, totalClusters = 0;
        if (!GetDiskFreeSpaceA(root.c_str(), &sectorsPerCluster, &sectorBytes, &freeClusters, &totalClusters))
            return false;
        bytesPerSector = sectorBytes;
        return true;
    }

    uint8_t* AllocateBlock(uint32_t size) override
    {
        block_.Reset(VirtualAlloc(nullptr, size, MEM_COMMIT, PAGE_READWRITE));
        return static_cast<uint8_t*>(block_.Get());
    }
    void ReleaseBlock() override { block_.Reset(); }
    int Rand() override { return std::rand(); }

    bool OpenExistingEntry(const std::string& path) override
    {
        file_.Reset(CreateFileA(path.c_str(), DELETE | FILE_READ_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        return static_cast<bool>(file_);
    }
    bool ReadFileInformation(FileInformation& information) override
    {
        BY_HANDLE_FILE_INFORMATION data = {};
        if (!GetFileInformationByHandle(file_.Get(), &data))
            return false;
        information.attributes = data.dwFileAttributes;
        information.links = data.nNumberOfLinks;
        return true;
    }
    bool DeleteOpenFile() override
    {
        FILE_DISPOSITION_INFO disposition = {TRUE};
        return SetFileInformationByHandle(file_.Get(), FileDispositionInfo, &disposition, sizeof(disposition)) !=
               FALSE;
    }
    bool CreateBenchmarkFile(const std::string& path) override
    {
        // Unbuffered, so the writes reach the disk; delete-on-close, so the
        // file goes even if the program ends during the measurement.
        file_.Reset(CreateFileA(path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_NO_BUFFERING | FILE_FLAG_DELETE_ON_CLOSE,
                                nullptr));
        return static_cast<bool>(file_);
    }
    bool WriteBlock(const uint8_t* data, uint32_t size, uint32_t& written) override
    {
        DWORD count = 0;
        const BOOL ok = WriteFile(file_.Get(), data, size, &count, nullptr);
        written = count;
        return ok != FALSE;
    }
    uint32_t LastError() override { return GetLastError(); }
    void FlushFile() override { FlushFileBuffers(file_.Get()); }
    void RewindFile() override { SetFilePointer(file_.Get(), 0, nullptr, FILE_BEGIN); }
    void CloseFile() override { file_.Reset(); }

    uint32_t TickCount() override { return GetTickCount(); }
    uint32_t WaitForCancelEvent(uint32_t timeoutMs) override
    {
        return WaitForSingleObject(g_cancelEvent, timeoutMs);
    }
    bool ErrorText(uint32_t code, std::string& text) override { return FormatErrorText(code, text); }

private:
    HWND bar_;
    HWND label_;
    ScopedVirtualMemory block_;
    ScopedHandle file_;
};

} // namespace

void CheckDiskSpeed(TestResult& result)
{
    Win32DiskBenchmark platform;
    RunDiskSpeedBenchmark(platform, result);
}
