#include "build_settings.h"
#include "checks/network/dns_lookup.h"
#include "checks/network/internet_access.h"
#include "checks/network/network_speed.h"
#include "checks/network/upload_benchmark.h"
#include "checks/network/wininet_calls.h"
#include "graded.h"
#include "scripted_wininet.h"

#include <gtest/gtest.h>

#include <cstdio>

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
        {"HttpQueryInfoA(19)", 1, "HttpQueryInfo(STATUS_CODE)", 3},
        {"InternetReadFile", 2, "InternetReadFile", 3},
    };
    for (const auto& c : cases) {
        ScriptedWinInet net;
        net.failures[{c.call, c.occurrence}] = 12007;
        const TestResult r = Check(net, c.closed);
        EXPECT_EQ(std::tie(r.status, r.summary, r.details),
                  std::make_tuple('F', "HTTPS access to \"" + kSite + "\" failed", std::string("Error Code: 12007 on '") +
                                  c.label + "': The server name or address could not be resolved")) << c.call;
    }
    // A completed exchange with a response error fails too, naming the call that reported it.
    ScriptedWinInet net;
    net.responseError = 12157;
    EXPECT_EQ(Check(net).details, "Error Code: 12157 on 'InternetGetLastResponseInfo': <Unknown>");
}

}  // namespace

TEST(NetworkSpeed_Grade, LettersAndSummaries)
{
    using End = UploadOutcome::End;
    const struct { NetworkSpeedFacts facts; TestStatus status; const char* summary; } cases[] = {
        // 553,184 bytes in 2,950 ms: 187,520 bytes/s, above the mark; the mark itself fails.
        {{true, true, {}, 553184, 2950}, 'A', "Upload rate: 1.50 M bits/sec, 122 items/min"},
        {{true, true, {}, 187500, 1000}, 'F', "Upload rate: 1.50 M bits/sec, 122 items/min"},
        // Faster than the clock: one millisecond's worth, beyond 32 bits.
        {{true, true, {}, 553184, 0}, 'A', "Upload rate: 4.43 G bits/sec, 360145 items/min"},
        {{false, false, {}, 0, 0}, 'F', "Test skipped, unable to access the Internet."},
        {{true, false, {}, 0, 0}, 'F', "Failed to initialize test."},
        {{true, true, {End::Cancelled, 0}, 553184, 10}, 'F', "Test canceled"},
        {{true, true, {End::HttpStatus, 1}, 553184, 10}, 'F', "Test failed with HTTP error code: 1"},
        // A failure without an error number, after a rate that would pass.
        {{true, true, {End::StepFailed, 0}, 553184, 10}, 'F', "Test failed with error code: 0"},
    };
    const std::string minimum = "Minimum upload speed is 1.50 M bits/sec.";
    for (const auto& c : cases) {
        TestResult result;
        result.status = 'A';  // overwritten on every path
        GradeNetworkSpeed(c.facts, result);
        EXPECT_EQ(std::tie(result.status, result.summary, result.details), std::tie(c.status, c.summary, minimum));
    }
}

namespace {

using End = UploadOutcome::End;
const UploadOutcome kMeasured{}, kCancelled{End::Cancelled, 0};

const std::string kPayload = [] {
    std::string payload(kBenchmarkPayloadSize, '\0');
    for (size_t i = 0; i < payload.size(); ++i)
        payload[i] = static_cast<char>(i * 7 + i / 4096);
    return payload;
}();

struct Bench {
    UploadContext context;
    ScriptedWinInet net;
    ScriptedControls controls;

    Bench()
    {
        context.userName = "Sam";
        context.payload = reinterpret_cast<const uint8_t*>(kPayload.data());
        context.payloadSize = kBenchmarkPayloadSize;
        controls.net = &net;
        g_publicAddress = "stale";
    }
    // A reply of over a mebibyte that announces `length`, read at once.
    void LargeReply(const char* length)
    {
        net.contentLength = length;
        net.body = "OK 198.51.100.7\r\n" + std::string(1 << 20, ' ');
        net.readChunk = 1 << 21;
    }
    // Every path ends with the button reading "Close" and every opened handle closed.
    UploadOutcome Run(size_t handles = 3)
    {
        const UploadOutcome result = RunUploadBenchmark(context, net, controls);
        EXPECT_EQ(controls.buttonTexts, std::vector<std::string>{"Close"});
        EXPECT_EQ(net.closed, handles);
        return result;
    }
};

TEST(UploadBenchmark_Transfer, WholeBodyGoesOnAfterPartialWritesAndTheAddressIsTaken)
{
    Bench b;
    b.net.writeLimit = 1000;
    EXPECT_EQ(b.Run(), kMeasured);
    EXPECT_EQ(b.net.uploaded.size(), 553184u);
    EXPECT_EQ(b.net.uploaded.substr(172, kPayload.size()), kPayload);
    EXPECT_EQ(b.context.bytesSent, 553184u);
    // The clock runs from before InternetOpenA to the status: open, connect, request, four
    // headers, send, 555 writes of at most 1,000 bytes, end, response info and status.
    EXPECT_EQ(b.context.uploadMs, 566u);
    EXPECT_EQ(g_publicAddress, "198.51.100.7");
    EXPECT_EQ(b.net.headers[2], "Username: Sam");
    EXPECT_EQ(b.controls.labels, (std::vector<std::string>{"Benchmarking network speed.", "Waiting for response."}));
    EXPECT_TRUE(b.controls.errorBoxes.empty());
    EXPECT_EQ(b.net.options, (std::map<uint32_t, uint32_t>{{2, 60000}, {5, 30000}, {6, 30000}}));
}

TEST(UploadBenchmark_StepFailure, EachStepFailsWithItsLabelAndErrorNumber)
{
    const struct { const char* call; int occurrence; const char* label; size_t closed; uint32_t error = 12002; }
        cases[] = {
        {"InternetOpenA", 1, "InternetOpen()", 0},
        {"InternetConnectA", 1, "InternetConnect()", 1},
        {"HttpOpenRequestA", 1, "HttpOpenRequest()", 2},
        {"HttpAddRequestHeadersA", 1, "HttpAddRequestHeaders()", 3},
        {"HttpSendRequestExA", 1, "HttpSendRequestEx()", 3},
        {"InternetWriteFile", 50, "HttpSendRequestEx()", 3},
        {"InternetGetLastResponseInfoA", 1, "InternetGetLastResponseInfo()", 3},
        {"HttpQueryInfoA(19)", 1, "HttpQueryInfo(STATUS_CODE)", 3},
        {"HttpQueryInfoA(1)", 1, "HttpQueryInfo(HTTP_QUERY_CONTENT_TYPE)", 3},
        {"HttpQueryInfoA(5)", 1, "HttpQueryInfo(HTTP_QUERY_CONTENT_LENGTH)", 3, 0},  // without an error number
        {"InternetReadFile", 2, "InternetReadFile()", 3},
    };
    for (const auto& c : cases) {
        Bench b;
        b.net.failures[{c.call, c.occurrence}] = c.error;
        EXPECT_EQ(b.Run(c.closed), (UploadOutcome{End::StepFailed, c.error})) << c.call << " " << c.occurrence;
        EXPECT_EQ(b.controls.errorBoxes, std::vector<std::string>{c.label}) << c.call;
        EXPECT_EQ(b.controls.boxErrors, std::vector<uint32_t>{c.error}) << c.call;
        EXPECT_EQ(g_publicAddress, "") << c.call;
    }
}

TEST(UploadBenchmark_Outcome, StatusReplyAndRetryWithoutABox)
{
    using Script = void (*)(Bench&);
    const char* const address = "198.51.100.7";
    // The script, the outcome, the address taken, the bytes counted and the requests sent. A
    // status of 1 is not a Cancel; nothing is read after a status other than 200.
    const std::tuple<Script, UploadOutcome, const char*, uint32_t, int> cases[] = {
        {[](Bench& b) { b.net.statusText = "404"; }, {End::HttpStatus, 404}, "", 0, 1},
        {[](Bench& b) { b.net.statusText = "1"; }, {End::HttpStatus, 1}, "", 0, 1},
        {[](Bench& b) { b.net.responseError = 12157; }, {End::StepFailed, 12157}, address, 553184, 1},
        // An absurd announced length is not read, and the rate stands; never more than the announced length.
        {[](Bench& b) { b.LargeReply("1048577"); }, kMeasured, "", 553184, 1},
        {[](Bench& b) { b.LargeReply("99999999999999999999"); }, kMeasured, "", 553184, 1},
        {[](Bench& b) { b.LargeReply("-5"); }, kMeasured, "", 553184, 1},
        {[](Bench& b) { b.LargeReply("1048576"); }, kMeasured, address, 553184, 1},
        {[](Bench& b) { b.LargeReply("5"); }, kMeasured, "19", 553184, 1},
        // A content type too long for its buffer is left unknown.
        {[](Bench& b) { b.net.failures[{"HttpQueryInfoA(1)", 1}] = 122; }, kMeasured, address, 553184, 1},
        // A forced retry sends again, counting the last attempt's bytes only, and without end till Cancel.
        {[](Bench& b) { b.net.failures[{"HttpEndRequestA", 1}] = b.net.failures[{"HttpEndRequestA", 2}] = 12032; },
         kMeasured, address, 553184, 3},
        {[](Bench& b) { b.net.failures[{"HttpEndRequestA", 0}] = 12032, b.controls.cancelAtPoll = 2000; }, kCancelled,
         "", 0, 15},
    };
    for (const auto& [script, outcome, taken, bytes, sends] : cases) {
        Bench b;
        script(b);
        EXPECT_EQ(b.Run(), outcome) << b.net.statusText << " " << b.net.contentLength;
        EXPECT_EQ(std::tie(g_publicAddress, b.context.bytesSent), std::make_tuple(taken, bytes));
        EXPECT_EQ(b.net.Count("InternetReadFile") == 0, *taken == '\0');
        EXPECT_EQ(b.net.Count("HttpSendRequestExA"), sends);
        EXPECT_TRUE(b.controls.errorBoxes.empty());
    }
}

// From the send to the end of the reply an exchange has 90 s: a host that takes or gives a byte
// at a time, each within the receive time-out, still ends the check as a time-out of that step.
// Cancel during a wait on the host cancels the upload, with no box.
TEST(NetworkChecks_Waits, BudgetEndsATrickleAndCancelEndsAWait)
{
    ScriptedWinInet page;
    page.endlessBody = true;
    page.readChunk = 1;
    page.slowCall = "InternetReadFile";
    EXPECT_EQ(Check(page).details, "Error Code: 12002 on 'InternetReadFile': <Unknown>");
    EXPECT_EQ(page.Count("InternetReadFile"), 90);
    EXPECT_EQ(page.deadlines.front(), 90000u);
    for (const auto& [slowCall, label] : {std::pair<const char*, const char*>{"InternetWriteFile", "HttpSendRequestEx()"},
                                          {"InternetReadFile", "InternetReadFile()"}}) {
        Bench b;
        b.LargeReply("1048576");
        b.net.readChunk = 1;
        b.net.slowCall = slowCall;
        EXPECT_EQ(b.Run(), (UploadOutcome{End::StepFailed, 12002})) << slowCall;
        EXPECT_EQ(b.controls.errorBoxes, std::vector<std::string>{label});
    }
    for (const char* call : {"HttpSendRequestExA", "InternetWriteFile", "HttpEndRequestA", "InternetReadFile"}) {
        Bench b;
        b.net.failures[{call, 1}] = 1223;
        EXPECT_EQ(b.Run(), kCancelled) << call;
        EXPECT_TRUE(b.controls.errorBoxes.empty()) << call;
    }
}

// One answer per query, in turn; every A record holds 203.0.113.7.
struct Answer { int32_t status; uint16_t type; std::string name; };

class ScriptedDns : public DnsCalls {
public:
    std::vector<Answer> answers;
    std::vector<std::string> queries;  // "name type options"
    int frees = 0;

    bool InternetCrackUrlA(const char*, uint32_t, uint32_t, char* hostName, uint32_t hostNameLength) override
    {
        std::snprintf(hostName, hostNameLength, "www.example.test");
        return !answers.empty();  // no answers: an address that cannot be split
    }
    int32_t DnsQuery_A(const char* name, uint16_t type, uint32_t options, DnsAnswer& answer) override
    {
        queries.push_back(std::string(name) + " " + std::to_string(type) + " " + std::to_string(options));
        const Answer& a = answers.at(queries.size() - 1);
        if (a.status == 0)
            answer = {this, true, a.type, {203, 0, 113, 7}, a.name.c_str()};
        return a.status;
    }
    void DnsRecordListFree(DnsAnswer& answer) override { frees += answer.list == this; }
};

TEST(DnsLookup_Check, ForwardAndReverseAnswersAndEveryFailure)
{
    const Answer a = {0, kDnsTypeA, ""};
    const std::string unreasonable = "DNS reverse lookup of '203.0.113.7' succeeded, but returned unreasonable data";
    const std::string longest(254, 'n');
    const std::tuple<std::vector<Answer>, std::string, int> cases[] = {  // answers, details, lists freed
        {{a, {0, kDnsTypePtr, "edge.example.test"}},
         "DNS test: 'www.example.test' -> '203.0.113.7' -> 'edge.example.test'.", 2},
        {{a, {0, kDnsTypePtr, longest}}, "DNS test: 'www.example.test' -> '203.0.113.7' -> '" + longest + "'.", 2},
        {{{9003, 0, ""}}, "DNS lookup of 'www.example.test' failed with error 9003.", 0},
        {{{0, 5, ""}}, "DNS lookup of 'www.example.test' succeeded, but returned unexpected record type of 5.", 1},
        {{a, {9003, 0, ""}}, "DNS reverse lookup of '203.0.113.7' failed with error 9003.", 1},
        {{a, {0, 5, ""}}, "DNS reverse lookup of '203.0.113.7' succeeded, but returned unexpected type of 5", 2},
        {{a, {0, kDnsTypePtr, ""}}, unreasonable, 2},
        {{a, {0, kDnsTypePtr, std::string(255, 'n')}}, unreasonable, 2},
        {{}, "Internal Error", 0},
    };
    const std::vector<std::string> queries = {"www.example.test 1 4096", "7.113.0.203.in-addr.arpa 12 0"};
    for (const auto& [answers, details, frees] : cases) {
        ScriptedDns dns;
        dns.answers = answers;
        TestResult result;
        RunDnsLookup(dns, "https://www.example.test/", result);
        const bool validated = details.rfind("DNS test: ", 0) == 0;
        const std::string summary = validated ? "DNS validated" : answers.empty() ? "Internal Error" : "DNS Failed";
        EXPECT_EQ(std::tie(result.status, result.summary, result.details, dns.frees),
                  std::make_tuple(validated ? 'A' : 'F', summary, details, frees));
        EXPECT_EQ(dns.queries, std::vector<std::string>(queries.begin(), queries.begin() + answers.size()));
    }
}

}  // namespace
