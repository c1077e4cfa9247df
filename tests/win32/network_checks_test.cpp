#include "app/app_globals_win32.h"
#include "app/error_text_win32.h"
#include "checks/network/wininet_calls_win32.h"
#include "checks/network/disk_speed.h"
#include "platform/scoped_win32.h"
#include "report_test_support.h"

#include <gtest/gtest.h>
#include <winsock2.h>
#include <shlobj.h>
#include <wininet.h>

#include <array>
#include <utility>

namespace {

std::string BenchmarkFilePath()
{
    char folder[MAX_PATH] = {};
    EXPECT_TRUE(SHGetSpecialFolderPathA(nullptr, folder, CSIDL_COMMON_APPDATA, FALSE));
    return std::string(folder) + "\\kavlo.tmp";
}

// The disk check polls the cancel event; each test gives it one of its own.
struct OwnCancelEvent {
    ScopedHandle event{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    HANDLE saved = std::exchange(g_cancelEvent, event.Get());
    ~OwnCancelEvent() { g_cancelEvent = saved; }
};

} // namespace

// A host on loopback that takes connections and never says a word, not even
// its part of the TLS handshake, until it is closed.
struct SilentHost {
    SOCKET listener = INVALID_SOCKET;
    uint16_t port = 0;
    SilentHost()
    {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int length = sizeof(address);
        EXPECT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
        EXPECT_EQ(listen(listener, 4), 0);
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
    }
    ~SilentHost() { Close(); }
    void Close() { closesocket(std::exchange(listener, INVALID_SOCKET)); }
    // The Internet handle, a connection and an HTTPS request to this host.
    std::array<NetHandle, 3> Request(WinInetApi& api) const
    {
        NetHandle internet = api.InternetOpenA("Kavlo/1.0", 0, nullptr, nullptr, 0);
        NetHandle connection = api.InternetConnectA(internet, "127.0.0.1", port, nullptr, nullptr, 3, 0, 0);
        return {internet, connection,
                api.HttpOpenRequestA(connection, "GET", "/", "HTTP/1.1", "", nullptr, INTERNET_FLAG_SECURE, 0)};
    }
};

bool IsOpen(HINTERNET handle)
{
    DWORD type = 0, size = sizeof(type);
    return InternetQueryOptionA(handle, INTERNET_OPTION_HANDLE_TYPE, &type, &size) != FALSE;
}

// A send given up at its deadline, or ended by Cancel within moments, keeps
// its handles: closed by the check, they stay open until the call returns.
TEST(NetworkWin32_Waits, AGivenUpCallKeepsItsHandlesAndCancelEndsTheWait)
{
    SilentHost host;
    NetHandle internet = nullptr;
    {
        WinInetApi api;
        const auto handles = host.Request(api);
        internet = handles[0];
        ASSERT_NE(handles[2], nullptr);
        api.SetCallDeadline(300);
        EXPECT_FALSE(api.HttpSendRequestA(handles[2], nullptr, 0, nullptr, 0));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_TIMEOUT));
        for (NetHandle handle : handles)
            api.InternetCloseHandle(handle);
    }
    EXPECT_TRUE(IsOpen(internet));

    ScopedHandle cancel(CreateEventA(nullptr, TRUE, TRUE, nullptr));
    WinInetApi cancellable(cancel.Get());
    const auto handles = host.Request(cancellable);
    cancellable.SetCallDeadline(60000);
    const DWORD start = GetTickCount();
    EXPECT_FALSE(cancellable.HttpSendRequestA(handles[2], nullptr, 0, nullptr, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANCELLED));
    EXPECT_LT(GetTickCount() - start, 1000u);

    host.Close();  // the handshakes fail now, and the calls return
    for (int tries = 0; tries < 500 && IsOpen(internet); ++tries)
        Sleep(20);
    EXPECT_FALSE(IsOpen(internet));
}

TEST(DiskSpeedCheck, FullDiskGivesWriteFailedWithTheSystemText)
{
    if (std::getenv("KAVLO_FULL_DISK") == nullptr)
        GTEST_SKIP() << "needs a full common application-data folder: tests/disk-speed/full-disk (as root)";
    const std::string text = SystemMessage(ERROR_DISK_FULL);  // the final line feed goes, the carriage return stays
    OwnCancelEvent cancel;
    TestResult result;
    CheckDiskSpeed(result);
    EXPECT_EQ(result.summary + "\n", "Write failed: " + text);
    EXPECT_EQ(GetFileAttributesA(BenchmarkFilePath().c_str()), INVALID_FILE_ATTRIBUTES);
}

// A second name of another file at the benchmark's path (any account may make one there) is
// neither written through nor deleted; a plain leftover of an earlier run is replaced.
TEST(DiskSpeedCheck, HardLinkIsLeftAloneAndALeftoverIsReplaced)
{
    const std::string path = BenchmarkFilePath(), other = TempPath("kavlo-linked.txt");
    const struct { bool link; const char* summary; } cases[] = {
        {true, "Unable to write to local disk"},
        {false, "Disk un-buffered write speed: 0.0 MB / s"},  // Cancel already pressed: no time measured
    };
    for (const auto& c : cases) {
        std::ofstream(other) << "precious";
        ASSERT_TRUE(c.link ? CreateHardLinkA(path.c_str(), other.c_str(), nullptr)
                           : CopyFileA(other.c_str(), path.c_str(), FALSE));
        OwnCancelEvent cancel;
        SetEvent(cancel.event.Get());
        TestResult result;
        CheckDiskSpeed(result);
        EXPECT_EQ(result.summary, c.summary);
        EXPECT_EQ(ReadWholeFile(other), "precious");
        EXPECT_EQ(GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES, c.link);
        DeleteFileA(path.c_str());
        DeleteFileA(other.c_str());
    }
}

// The box that the upload shows for a failed step: the system's text as it
// stands, "%1" included, and a box of its own for a number without text.
TEST(ErrorBox, TextWithInsertsAndNumberWithoutText)
{
    const std::string system = SystemMessage(ERROR_BAD_EXE_FORMAT);
    ASSERT_NE(system.find("%1"), std::string::npos) << system;
    const std::pair<DWORD, std::string> cases[] = {
        {ERROR_BAD_EXE_FORMAT, "Error Message|" + system},
        {0x3FFFFFFF, "Error|Unable to format message"},
    };
    for (const auto& [code, expected] : cases) {
        std::string shown;
        const auto answer = [&shown](HWND box) { shown = TextOf(box) + "|" + MessageOf(box), Press(box, IDOK); };
        DialogWatcher withText("Error Message", answer), withoutText("Error", answer);
        SetLastError(code);
        ShowLastErrorBox("HttpSendRequestEx()");
        EXPECT_EQ(withText.Finish() + withoutText.Finish(), 1) << code;
        EXPECT_EQ(shown, expected) << code;
    }
}
