#include "app/settings.h"
#include "checks/network/call_deadline_win32.h"
#include "checks/network/dns_lookup_win32.h"
#include "checks/network/network_speed_win32.h"

#include <gtest/gtest.h>
#include <wininet.h>

#include <string>
#include <utility>

namespace {

TEST(NetworkWin32_Dns, AddressSplitDecodesTheHostAndRefusesWhatDoesNotFit)
{
    WindowsDnsCalls dns;
    char host[256] = {};
    const std::string escaped = "https://w%77w.example.test/";
    ASSERT_TRUE(dns.InternetCrackUrlA(escaped.c_str(), escaped.size(), kIcuDecode, host, sizeof(host)));
    EXPECT_STREQ(host, "www.example.test");
    const std::string tooLong = "https://" + std::string(300, 'h') + "/";
    EXPECT_FALSE(dns.InternetCrackUrlA(tooLong.c_str(), tooLong.size(), kIcuDecode, host, sizeof(host)));
}

TEST(NetworkWin32_Context, ServiceIsToldTheSalesAgentsName)
{
    const std::string agentBefore = std::exchange(g_salesAgentName, "Sam Seller");
    BenchmarkContext context;
    EXPECT_TRUE(InitBenchmarkContext(context));
    EXPECT_STREQ(context.upload.userName, "Sam Seller");
    ReleaseBenchmarkContext(context);
    g_salesAgentName = agentBefore;
}

// A call that answers in time gives its own result and error; one that never
// answers is given up at the deadline as a time-out, and what it reads stays
// valid although the caller's copy is gone.
TEST(NetworkWin32_Deadline, AnswerPassesThroughAndSilenceBecomesATimeOut)
{
    auto failsWith5 = [](void* argument) {
        SetLastError(*static_cast<DWORD*>(argument));
        return FALSE;
    };
    DWORD five = 5;
    SetLastError(0);
    EXPECT_FALSE(RunWithDeadline(failsWith5, &five, sizeof(five), 5000));
    EXPECT_EQ(GetLastError(), 5u);
    auto succeeds = [](void*) { return TRUE; };
    EXPECT_TRUE(RunWithDeadline(succeeds, &five, sizeof(five), 5000));

    HANDLE never = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    {
        HANDLE copy = never;
        auto waits = [](void* argument) {
            WaitForSingleObject(*static_cast<HANDLE*>(argument), INFINITE);
            return TRUE;
        };
        EXPECT_FALSE(RunWithDeadline(waits, &copy, sizeof(copy), 200));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_TIMEOUT));
    }
    SetEvent(never);  // the abandoned call ends now and frees its own copy
    Sleep(50);
    CloseHandle(never);
}

}  // namespace
