#include "checks/network/internet_access.h"
#include "checks/network/network_speed.h"
#include "build_settings.h"
#include "scripted_wininet.h"

#include <gtest/gtest.h>

namespace {

// The site the texts name: the vendor's web host of this build.
const std::string kSite = "https://" KAVLO_VENDOR_HOST "/";

// The graded record of an exchange over `net`, which must leave `handles` handles closed.
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
    const std::string works = "Our software needs to communicate with our web site to upload images.";
    // A response error that comes with another status does not hide it. Beyond 32 bits the
    // status stops at the limit as atol does; it never wraps round to 200.
    const std::tuple<const char*, uint32_t, int, const char*> cases[] = {  // status, response error, reads
        {"200", 0, 5, "\" works"},  // 17 bytes in reads of 5, then the empty read
        {"404", 12157, 0, "\" failed, HTTP code 404"},
        {"4294967496", 0, 0, "\" failed, HTTP code 2147483647"},
    };
    for (const auto& [status, responseError, reads, summary] : cases) {
        ScriptedWinInet net;
        net.statusText = status;
        net.responseError = responseError;
        const TestResult result = Check(net);
        EXPECT_EQ(net.Count("InternetReadFile"), reads) << summary;
        EXPECT_EQ(std::tie(result.status, result.summary, result.details),
                  std::make_tuple(reads ? 'A' : 'F', "HTTPS to \"" + kSite + summary, works));
    }
    // A page without end counts as read after a mebibyte; a host that says nothing at all ends
    // the exchange in Windows' time.
    ScriptedWinInet endless;
    endless.endlessBody = true;
    endless.body = std::string(2048, 'x');
    endless.readChunk = 2048;
    EXPECT_EQ(Check(endless).status, 'A');
    EXPECT_EQ(endless.Count("InternetReadFile"), 512);
    EXPECT_EQ(endless.options, (std::map<uint32_t, uint32_t>{{2, 60000}, {5, 30000}, {6, 30000}}));
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
    // A completed exchange with a response error fails too, naming the call that reported it.
    ScriptedWinInet net;
    net.responseError = 12157;
    EXPECT_EQ(Check(net).details, "Error Code: 12157 on 'InternetGetLastResponseInfo': <Unknown>");
}

}  // namespace
