// The real Disk Speed check under Wine: its file in the common application-data
// folder, the cancel event, and a full disk.
#include "app/app_globals_win32.h"
#include "app/error_text_win32.h"
#include "app/text_format.h"
#include "checks/network/disk_speed.h"
#include "platform/scoped_win32.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <utility>

namespace {

std::string BenchmarkFilePath()
{
    char folder[MAX_PATH] = {};
    EXPECT_TRUE(SHGetSpecialFolderPathA(nullptr, folder, CSIDL_COMMON_APPDATA, FALSE));
    return std::string(folder) + "\\kavlo.tmp";
}

// The check polls the cancel event; each test gives it one of its own.
struct OwnCancelEvent {
    ScopedHandle event{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    HANDLE saved = std::exchange(g_cancelEvent, event.Get());
    ~OwnCancelEvent() { g_cancelEvent = saved; }
};

} // namespace

TEST(DiskSpeedCheck, CancelEndsTheMeasurementAndTheFileIsGone)
{
    OwnCancelEvent cancel;
    const std::string path = BenchmarkFilePath();
    // The file cannot be opened while the check runs (no sharing), but its
    // size can be read; Cancel comes five seconds after it first appears.
    std::atomic<bool> stop{false};
    DWORD firstSeen = 0;
    uint64_t largest = 0;
    std::thread watch([&] {
        for (WIN32_FILE_ATTRIBUTE_DATA data; !stop; Sleep(5)) {
            if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
                continue;
            firstSeen = firstSeen ? firstSeen : GetTickCount();
            largest = std::max(largest, (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
            if (GetTickCount() - firstSeen > 5000)
                SetEvent(cancel.event.Get());
        }
    });
    TestResult result;
    const DWORD start = GetTickCount();
    CheckDiskSpeed(result);
    const DWORD elapsed = GetTickCount() - start;
    stop = true;
    watch.join();
    std::printf("Disk Speed: %c \"%s\" after %lu ms\n", result.status, result.summary.c_str(), elapsed);

    EXPECT_EQ(result.summary.rfind("Disk un-buffered write speed: ", 0), 0u) << result.summary;
    EXPECT_LT(elapsed, 9000u);
    // Rewound after the 17th block of a megabyte (what sectors of a power of
    // two give): the real file never holds more.
    EXPECT_GT(largest, 0u) << path;
    EXPECT_LE(largest, 17ull * 1048576);
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(DiskSpeedCheck, FullDiskGivesWriteFailedWithTheSystemText)
{
    if (std::getenv("KAVLO_FULL_DISK") == nullptr)
        GTEST_SKIP() << "needs the common application-data folder on a small tmpfs; "
                        "tests/disk-speed/full-disk runs this case so (as root)";
    std::string text;
    ASSERT_TRUE(FormatErrorText(ERROR_DISK_FULL, text));
    OwnCancelEvent cancel;
    TestResult result;
    CheckDiskSpeed(result);
    std::printf("Disk Speed on a full disk: %c \"%s\"\n", result.status, result.summary.c_str());
    EXPECT_EQ(result.summary, CutToBuffer("Write failed: " + text, 260));
    EXPECT_EQ(result.status, 'F');
    EXPECT_EQ(GetFileAttributesA(BenchmarkFilePath().c_str()), INVALID_FILE_ATTRIBUTES);
}
