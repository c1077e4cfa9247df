// The real Disk Speed check under Wine: its file in the common application-data
// folder, the progress controls, Cancel, and a full disk.
#include "app/app_globals_win32.h"
#include "app/error_text_win32.h"
#include "app/text_format.h"
#include "checks/network/disk_speed.h"
#include "platform/scoped_win32.h"
#include "resource_ids.h"

#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <utility>

namespace {

const char* const kDetails = "Your disk should have a minimum write speed of at least 3.8 MB/s.";

struct WindowTraits {
    static HWND Invalid() { return nullptr; }
    static bool IsValid(HWND h) { return h != nullptr; }
    static void Close(HWND h) { DestroyWindow(h); }
};
using ScopedWindow = Scoped<HWND, WindowTraits>;

// Watches the benchmark file from another thread while the check runs: it
// cannot be opened (no sharing), but its attributes and size can be read.
class FileWatch {
public:
    FileWatch(std::string path, HANDLE cancelWhenSeen)
        : path_(std::move(path)), cancel_(cancelWhenSeen), thread_([this] { Watch(); })
    {
    }
    ~FileWatch() { Stop(); }
    void Stop()
    {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    bool seen = false;
    uint64_t largest = 0;

private:
    void Watch()
    {
        while (!stop_) {
            WIN32_FILE_ATTRIBUTE_DATA data;
            if (GetFileAttributesExA(path_.c_str(), GetFileExInfoStandard, &data)) {
                seen = true;
                largest = std::max(largest, (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
                if (cancel_)
                    SetEvent(cancel_);
            }
            Sleep(5);
        }
    }
    std::string path_;
    HANDLE cancel_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Stands in for the progress dialog: the two controls the check drives, on
// this thread, so the check's sent messages are handled at once.
class DiskSpeedCheck : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        // Wine makes windows only with an X display; without one the check
        // runs with no progress dialog, as it tolerates, and the controls
        // go unchecked.
        dialog_.Reset(CreateWindowExA(0, "STATIC", "Progress", WS_POPUP, 0, 0, 400, 200, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr));
        if (dialog_) {
            bar_ = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | PBS_SMOOTH, 10, 70, 300, 14, dialog_.Get(),
                                   reinterpret_cast<HMENU>(IDC_PROGRESS_CHECK_BAR), GetModuleHandleA(nullptr),
                                   nullptr);
            label_ = CreateWindowExA(0, "STATIC", "Benchmarking Internet connection...", WS_CHILD, 10, 50, 300, 15,
                                     dialog_.Get(), reinterpret_cast<HMENU>(IDC_PROGRESS_CHECK_LABEL),
                                     GetModuleHandleA(nullptr), nullptr);
            ASSERT_TRUE(bar_ && label_);
        }
        cancel_.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        savedDialog_ = std::exchange(g_hProgressDlg, dialog_.Get());
        savedCancel_ = std::exchange(g_cancelEvent, cancel_.Get());

        char folder[MAX_PATH] = {};
        ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, folder, CSIDL_COMMON_APPDATA, FALSE));
        path_ = std::string(folder) + "\\kavlo.tmp";
        char root[4] = {folder[0], ':', '\\', 0};
        DWORD spc, bytesPerSector = 0, freeClusters, clusters;
        ASSERT_TRUE(GetDiskFreeSpaceA(root, &spc, &bytesPerSector, &freeClusters, &clusters));
        blockSize_ = DiskBlockSize(bytesPerSector);
    }
    void TearDown() override
    {
        g_hProgressDlg = savedDialog_;
        g_cancelEvent = savedCancel_;
    }

    std::string LabelText() const
    {
        char text[256] = {};
        GetWindowTextA(label_, text, sizeof(text));
        return text;
    }
    // The summary of a measurement, and its rate, or -1 when it is not one.
    static double RateOf(const std::string& summary)
    {
        double rate = -1;
        if (std::sscanf(summary.c_str(), "Disk un-buffered write speed: %lf MB / s", &rate) != 1)
            return -1;
        // The whole text, to the last character, is the one the check writes.
        return FormatBounded(260, "Disk un-buffered write speed: %.1f MB / s", rate) == summary ? rate : -1;
    }

    ScopedWindow dialog_;
    HWND bar_ = nullptr;
    HWND label_ = nullptr;
    ScopedHandle cancel_;
    HWND savedDialog_ = nullptr;
    HANDLE savedCancel_ = nullptr;
    std::string path_;
    uint32_t blockSize_ = 0;
};

} // namespace

TEST_F(DiskSpeedCheck, TenSecondsInCommonAppDataThenTheFileIsGone)
{
    TestResult result;
    FileWatch watch(path_, nullptr);
    CheckDiskSpeed(result);
    watch.Stop();
    std::printf("Disk Speed: %c \"%s\"\n", result.status, result.summary.c_str());

    const double rate = RateOf(result.summary);
    ASSERT_GE(rate, 0.0) << result.summary;
    if (rate >= 3.9) {
        EXPECT_EQ(result.status, 'A');
    } else if (rate <= 3.7) {
        EXPECT_EQ(result.status, 'F');
    }
    EXPECT_EQ(result.details, kDetails);

    EXPECT_TRUE(watch.seen) << path_;
    EXPECT_GT(watch.largest, 0u);
    EXPECT_LE(watch.largest, 17ull * blockSize_);
    EXPECT_EQ(GetFileAttributesA(path_.c_str()), INVALID_FILE_ATTRIBUTES);

    if (!dialog_) {
        std::printf("Progress controls not checked: no window could be made (no X display).\n");
        return;
    }
    EXPECT_EQ(LabelText(), "Benchmarking disk speed.");
    PBRANGE range = {};
    SendMessageA(bar_, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 10000);
    // Elapsed milliseconds after the last block: close to the full ten seconds.
    EXPECT_GT(SendMessageA(bar_, PBM_GETPOS, 0, 0), 5000);
}

TEST_F(DiskSpeedCheck, CancelEndsTheMeasurementEarlyAndGradesIt)
{
    TestResult result;
    const DWORD start = GetTickCount();
    {
        FileWatch watch(path_, cancel_.Get());
        CheckDiskSpeed(result);
    }
    EXPECT_LT(GetTickCount() - start, 9000u);
    EXPECT_GE(RateOf(result.summary), 0.0) << result.summary;
    EXPECT_EQ(result.details, kDetails);
    EXPECT_EQ(GetFileAttributesA(path_.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(DiskSpeedCheck, FullDiskGivesWriteFailedWithTheSystemText)
{
    if (std::getenv("KAVLO_FULL_DISK") == nullptr)
        GTEST_SKIP() << "needs the common application-data folder on a small tmpfs; "
                        "tests/disk-speed/full-disk runs this case so (as root)";
    std::string text;
    ASSERT_TRUE(FormatErrorText(ERROR_DISK_FULL, text));
    TestResult result;
    CheckDiskSpeed(result);
    std::printf("Disk Speed on a full disk: %c \"%s\"\n", result.status, result.summary.c_str());
    EXPECT_EQ(result.summary, CutToBuffer("Write failed: " + text, 260));
    EXPECT_EQ(result.status, 'F');
    EXPECT_EQ(result.details, kDetails);
    EXPECT_EQ(GetFileAttributesA(path_.c_str()), INVALID_FILE_ATTRIBUTES);
}
