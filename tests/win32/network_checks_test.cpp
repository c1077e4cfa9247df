#include "app/settings.h"
#include "checks/network/dns_lookup_win32.h"
#include "checks/network/network_speed_win32.h"

#include <gtest/gtest.h>

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

}  // namespace
