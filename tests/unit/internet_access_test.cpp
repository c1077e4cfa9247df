#include "checks/network/internet_access.h"
#include "checks/network/network_speed.h"
#include "scripted_wininet.h"

#include <gtest/gtest.h>

namespace {

// Read when a test runs: the host is another file's static object.
std::string Url()
{
    return SiteRootUrl();
}

InternetAccessFacts Exchange(ScriptedWinInet& net)
{
    return RunInternetAccess(net, "www.example.test");
}

TestResult Grade(const InternetAccessFacts& facts)
{
    TestResult result;
    g_internetReachable = !g_internetReachable;  // must be overwritten either way
    GradeInternetAccess(facts, result);
    return result;
}

TEST(InternetAccess_Exchange, HealthySiteMakesTheCallsInOrderWithTheirArguments)
{
    ScriptedWinInet net;
    net.body = std::string(5000, 'x');
    net.readChunk = 2048;
    const InternetAccessFacts facts = Exchange(net);

    EXPECT_EQ(facts.failedStep, nullptr);
    EXPECT_EQ(facts.errorNumber, 0u);
    EXPECT_EQ(facts.httpStatus, 200u);
    const std::vector<std::string> calls = {
        "InternetOpenA", "InternetConnectA", "HttpOpenRequestA", "InternetQueryOptionA", "InternetSetOptionA",
        "HttpAddRequestHeadersA", "HttpAddRequestHeadersA", "HttpSendRequestA", "InternetGetLastResponseInfoA",
        "HttpQueryInfoA(19)", "InternetReadFile", "InternetReadFile", "InternetReadFile", "InternetReadFile"};
    EXPECT_EQ(net.log, calls);
    EXPECT_EQ(net.openAgent, "Kavlo/1.0");
    EXPECT_EQ(net.openAccessType, 0u);
    EXPECT_EQ(net.openFlags, 0u);
    EXPECT_EQ(net.connectHost, "www.example.test");
    EXPECT_EQ(net.connectPort, 443);
    EXPECT_EQ(net.connectService, 3u);
    EXPECT_EQ(net.connectFlags, 0x040C3040u);
    EXPECT_EQ(net.verb, "GET");
    EXPECT_EQ(net.objectName, "/");
    EXPECT_EQ(net.version, "HTTP/1.1");
    EXPECT_EQ(net.referrer, "");
    EXPECT_EQ(net.acceptTypes, (std::vector<std::string>{"text/plain", "text/html"}));
    EXPECT_EQ(net.requestFlags, 0x80C03300u);
    EXPECT_EQ(net.setSecurityFlags, 0x3000u | 0x1100u);
    EXPECT_EQ(net.headers, (std::vector<std::string>{"Connection: Keep-Alive", "Cache-Control: no-cache"}));
    EXPECT_EQ(net.readRequests, (std::vector<uint32_t>{2048, 2048, 2048, 2048}));
    // The request, then the Internet handle, then the connection.
    EXPECT_EQ(net.closed, (std::vector<NetHandle>{ScriptedWinInet::Handle(3), ScriptedWinInet::Handle(1),
                                                  ScriptedWinInet::Handle(2)}));

    const TestResult result = Grade(facts);
    EXPECT_EQ(result.status, 'A');
    EXPECT_EQ(result.summary, "HTTPS to \"" + Url() + "\" works");
    EXPECT_EQ(result.details, "Our software needs to communicate with our web site to upload images.");
    EXPECT_TRUE(g_internetReachable);
}

TEST(InternetAccess_Exchange, EmptyPageIsApproved)
{
    ScriptedWinInet net;
    net.body.clear();
    const TestResult result = Grade(Exchange(net));
    EXPECT_EQ(result.status, 'A');
    EXPECT_TRUE(g_internetReachable);
}

TEST(InternetAccess_Exchange, SecurityFlagsThatCannotBeReadAreLeftAlone)
{
    ScriptedWinInet net;
    net.failures[{"InternetQueryOptionA", 0}] = 87;
    const InternetAccessFacts facts = Exchange(net);
    EXPECT_EQ(net.Count("InternetSetOptionA"), 0);
    EXPECT_EQ(facts.httpStatus, 200u);
    EXPECT_EQ(facts.failedStep, nullptr);
}

TEST(InternetAccess_Status, OtherStatusFailsWithoutReadingThePage)
{
    for (uint32_t status : {403u, 404u, 500u}) {
        ScriptedWinInet net;
        net.statusText = std::to_string(status);
        const InternetAccessFacts facts = Exchange(net);
        EXPECT_EQ(net.Count("InternetReadFile"), 0);
        EXPECT_EQ(net.closed.size(), 3u);
        const TestResult result = Grade(facts);
        EXPECT_EQ(result.status, 'F');
        EXPECT_EQ(result.summary, "HTTPS to \"" + Url() + "\" failed, HTTP code " + std::to_string(status));
        EXPECT_EQ(result.details, "Our software needs to communicate with our web site to upload images.");
        EXPECT_FALSE(g_internetReachable);
    }
}

TEST(InternetAccess_Status, StatusTextIsReadAsAtolDoes)
{
    const std::pair<const char*, uint32_t> cases[] = {{" 200", 200}, {"200 OK", 200}, {"abc", 0}, {"+404", 404}};
    for (const auto& [text, status] : cases) {
        ScriptedWinInet net;
        net.statusText = text;
        EXPECT_EQ(Exchange(net).httpStatus, status) << text;
    }
}

struct StepCase {
    const char* call;
    int occurrence;
    const char* label;
    size_t closed;
};

TEST(InternetAccess_StepFailure, EachStepFailsWithItsLabelAndErrorNumber)
{
    const StepCase cases[] = {
        {"InternetOpenA", 1, "Internal Error(InternetOpen)", 0},
        {"InternetConnectA", 1, "InternetConnect", 1},
        {"HttpOpenRequestA", 1, "HttpOpenRequest", 2},
        {"HttpAddRequestHeadersA", 1, "HttpAddRequestHeaders", 3},
        {"HttpAddRequestHeadersA", 2, "HttpAddRequestHeaders", 3},
        {"HttpSendRequestA", 1, "HttpSendRequest", 3},
        {"InternetGetLastResponseInfoA", 1, "InternetGetLastResponseInfo", 3},
        {"HttpQueryInfoA(19)", 1, "HttpQueryInfo(STATUS_CODE)", 3},
        {"InternetReadFile", 2, "InternetReadFile", 3},
    };
    for (const StepCase& c : cases) {
        ScriptedWinInet net;
        net.failures[{c.call, c.occurrence}] = 12007;
        const InternetAccessFacts facts = Exchange(net);
        ASSERT_NE(facts.failedStep, nullptr) << c.call;
        EXPECT_STREQ(facts.failedStep, c.label);
        EXPECT_EQ(facts.errorNumber, 12007u) << c.call;
        EXPECT_EQ(net.closed.size(), c.closed) << c.call;

        InternetAccessFacts withText = facts;
        withText.hasErrorText = true;
        withText.errorText = "The server name or address could not be resolved";
        const TestResult result = Grade(withText);
        EXPECT_EQ(result.status, 'F');
        EXPECT_EQ(result.summary, "HTTPS access to \"" + Url() + "\" failed");
        EXPECT_EQ(result.details, std::string("Error Code: 12007 on '") + c.label +
                                      "': The server name or address could not be resolved");
        EXPECT_FALSE(g_internetReachable);
    }
}

TEST(InternetAccess_StepFailure, ErrorWithoutMessageEndsInUnknown)
{
    ScriptedWinInet net;
    net.failures[{"HttpSendRequestA", 0}] = 4242;
    const TestResult result = Grade(Exchange(net));
    EXPECT_EQ(result.details, "Error Code: 4242 on 'HttpSendRequest': <Unknown>");
}

TEST(InternetAccess_StepFailure, ResponseErrorOnCompletedExchangeFailsNamingTheResponseCall)
{
    ScriptedWinInet net;
    net.responseError = 12157;
    net.body.clear();
    const InternetAccessFacts facts = Exchange(net);
    EXPECT_EQ(net.Count("InternetReadFile"), 1);  // the page is still read
    const TestResult result = Grade(facts);
    EXPECT_EQ(result.status, 'F');
    EXPECT_EQ(result.summary, "HTTPS access to \"" + Url() + "\" failed");
    EXPECT_EQ(result.details, "Error Code: 12157 on 'InternetGetLastResponseInfo': <Unknown>");
    EXPECT_FALSE(g_internetReachable);
}

TEST(InternetAccess_StepFailure, ResponseErrorWithOtherStatusReportsTheStatus)
{
    ScriptedWinInet net;
    net.responseError = 12157;
    net.statusText = "404";
    const TestResult result = Grade(Exchange(net));
    EXPECT_EQ(result.summary, "HTTPS to \"" + Url() + "\" failed, HTTP code 404");
}

}  // namespace
