#include "checks/network/internet_access.h"
#include "checks/network/network_speed.h"
#include "build_settings.h"
#include "scripted_wininet.h"

#include <gtest/gtest.h>

namespace {

// The site the texts name: the vendor's web host of this build.
const std::string kSite = "https://" KAVLO_VENDOR_HOST "/";
const char* const kDetails = "Our software needs to communicate with our web site to upload images.";

TestResult Check(ScriptedWinInet& net, size_t handles = 3)
{
    InternetAccessFacts facts = RunInternetAccess(net, "www.example.test");
    EXPECT_EQ(net.closed, handles);
    facts.hasErrorText = facts.errorNumber == 12007;
    facts.errorText = "The server name or address could not be resolved";
    TestResult result;
    g_internetReachable = !g_internetReachable;  // must be overwritten either way
    GradeInternetAccess(facts, result);
    EXPECT_EQ(g_internetReachable, result.status == 'A');
    return result;
}

TEST(InternetAccess_Status, PageIsReadToTheEndOnlyAfterStatus200)
{
    // A response error that comes with another status does not hide it.
    const struct { const char* status; uint32_t responseError; int reads; const char* summary; } cases[] = {
        {"200", 0, 5, "\" works"},  // 17 bytes in reads of 5, then the empty read
        {"404", 0, 0, "\" failed, HTTP code 404"},
        {"404", 12157, 0, "\" failed, HTTP code 404"},
        // Beyond 32 bits the text stops at the limit as atol does; it never
        // wraps round to 200.
        {"4294967496", 0, 0, "\" failed, HTTP code 2147483647"},
    };
    for (const auto& c : cases) {
        ScriptedWinInet net;
        net.statusText = c.status;
        net.responseError = c.responseError;
        const TestResult result = Check(net);
        EXPECT_EQ(net.Count("InternetReadFile"), c.reads) << c.summary;
        EXPECT_EQ(result.status, c.reads ? 'A' : 'F');
        EXPECT_EQ(result.summary, "HTTPS to \"" + kSite + c.summary);
        EXPECT_EQ(result.details, kDetails);
    }
}

TEST(InternetAccess_Status, PageWithoutEndCountsAsReadAfterAMebibyte)
{
    ScriptedWinInet net;
    net.endlessBody = true;
    net.body = std::string(2048, 'x');
    net.readChunk = 2048;
    const TestResult result = Check(net);
    EXPECT_EQ(net.Count("InternetReadFile"), 512);
    EXPECT_EQ(result.status, 'A');
    // A host that says nothing at all ends the exchange in Windows' time.
    EXPECT_EQ(net.options, (std::map<uint32_t, uint32_t>{{2, 60000}, {5, 30000}, {6, 30000}}));
}

TEST(InternetAccess_StepFailure, EachStepFailsWithItsLabelAndErrorNumber)
{
    const struct { const char* call; int occurrence; const char* label; size_t closed; } cases[] = {
        {"InternetOpenA", 1, "Internal Error(InternetOpen)", 0},
        {"InternetConnectA", 1, "InternetConnect", 1},
        {"HttpOpenRequestA", 1, "HttpOpenRequest", 2},
        {"HttpAddRequestHeadersA", 2, "HttpAddRequestHeaders", 3},
        {"HttpSendRequestA", 1, "HttpSendRequest", 3},
        {"InternetGetLastResponseInfoA", 1, "InternetGetLastResponseInfo", 3},
        {"HttpQueryInfoA(19)", 1, "HttpQueryInfo(STATUS_CODE)", 3},
        {"InternetReadFile", 2, "InternetReadFile", 3},
    };
    for (const auto& c : cases) {
        ScriptedWinInet net;
        net.failures[{c.call, c.occurrence}] = 12007;
        const TestResult result = Check(net, c.closed);
        EXPECT_EQ(result.status, 'F') << c.call;
        EXPECT_EQ(result.summary, "HTTPS access to \"" + kSite + "\" failed");
        EXPECT_EQ(result.details, std::string("Error Code: 12007 on '") + c.label +
                                      "': The server name or address could not be resolved");
    }
    // A completed exchange with a response error fails too, naming the call
    // that reported it.
    ScriptedWinInet net;
    net.responseError = 12157;
    EXPECT_EQ(Check(net).details, "Error Code: 12157 on 'InternetGetLastResponseInfo': <Unknown>");
}

}  // namespace
