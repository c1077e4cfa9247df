#include "build_settings.h"
#include "checks/network/dns_lookup.h"
#include "checks/network/internet_access.h"
#include "checks/network/network_speed.h"
#include "checks/network/upload_benchmark.h"
#include "checks/network/wininet_calls.h"
#include "scripted_wininet.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// The site the texts name: the vendor's web host of this build.
const std::string kSite = "https://" KAVLO_VENDOR_HOST "/";
const std::map<uint32_t, uint32_t> kTimeOuts = {{2, 60000}, {5, 30000}, {6, 30000}};  // connect, send, receive

// The graded record of an exchange over `net`, which must close every handle it opened.
TestResult Check(ScriptedWinInet& net)
{
    InternetAccessFacts facts = RunInternetAccess(net, "www.example.test");
    EXPECT_EQ(net.closed, net.opened);
    facts.hasErrorText = facts.errorNumber == 12007;
    facts.errorText = "The server name or address could not be resolved";
    TestResult result;
    g_internetReachable = !g_internetReachable;  // must be overwritten either way
    GradeInternetAccess(facts, result);
    EXPECT_EQ(g_internetReachable, result.status == 'A');
    return result;
}

// Every way an exchange ends. The page is read to the end only after status 200, and a page
// without end counts as read after a mebibyte. A response error that comes with another status
// does not hide it; beyond 32 bits the status stops at the limit as atol does, never wrapping
// round to 200. Each step that fails is named with its error number, as is the call that reported
// a response error. From the send to the end of the reply an exchange has 90 s: a host that gives
// a byte at a time, each within the receive time-out, still ends as a time-out of that step.
TEST(InternetAccess_Exchange, EveryEndWithItsTextsAndReads)
{
    const std::string works = "Our software needs to communicate with our web site to upload images.";
    const std::string to = "HTTPS to \"" + kSite + "\"", failed = "HTTPS access to \"" + kSite + "\" failed";
    const auto error = [](const char* label) {
        return "Error Code: 12007 on '" + std::string(label) + "': The server name or address could not be resolved";
    };
    using Script = void (*)(ScriptedWinInet&);
    // The call that fails with 12007 and which of its calls, or a script: summary, details, reads
    const std::tuple<const char*, int, Script, std::string, std::string, int> cases[] = {
        {"", 0, [](ScriptedWinInet&) {}, to + " works", works, 5},  // 17 bytes in reads of 5, then the empty read
        {"", 0, [](ScriptedWinInet& n) { n.statusText = "404", n.responseError = 12157; },
         to + " failed, HTTP code 404", works, 0},
        {"", 0, [](ScriptedWinInet& n) { n.statusText = "4294967496"; }, to + " failed, HTTP code 2147483647",
         works, 0},
        {"", 0, [](ScriptedWinInet& n) { n.endlessBody = true, n.body = std::string(2048, 'x'), n.readChunk = 2048; },
         to + " works", works, 512},
        {"InternetOpenA", 1, [](ScriptedWinInet&) {}, failed, error("Internal Error(InternetOpen)"), 0},
        {"InternetConnectA", 1, [](ScriptedWinInet&) {}, failed, error("InternetConnect"), 0},
        {"HttpOpenRequestA", 1, [](ScriptedWinInet&) {}, failed, error("HttpOpenRequest"), 0},
        {"HttpAddRequestHeadersA", 2, [](ScriptedWinInet&) {}, failed, error("HttpAddRequestHeaders"), 0},
        {"HttpSendRequestA", 1, [](ScriptedWinInet&) {}, failed, error("HttpSendRequest"), 0},
        {"HttpQueryInfoA(19)", 1, [](ScriptedWinInet&) {}, failed, error("HttpQueryInfo(STATUS_CODE)"), 0},
        {"InternetReadFile", 2, [](ScriptedWinInet&) {}, failed, error("InternetReadFile"), 2},
        {"", 0, [](ScriptedWinInet& n) { n.responseError = 12157; }, failed,
         "Error Code: 12157 on 'InternetGetLastResponseInfo': <Unknown>", 5},
        {"", 0, [](ScriptedWinInet& n) { n.endlessBody = true, n.readChunk = 1, n.slowCall = "InternetReadFile"; },
         failed, "Error Code: 12002 on 'InternetReadFile': <Unknown>", 90},
    };
    for (const auto& [call, occurrence, script, summary, details, reads] : cases) {
        ScriptedWinInet net;
        net.failures[{call, occurrence}] = 12007;
        script(net);
        const TestResult r = Check(net);
        EXPECT_EQ(std::make_tuple(r.status, r.summary, r.details, net.Count("InternetReadFile")),
                  std::make_tuple(summary == to + " works" ? 'A' : 'F', summary, details, reads)) << summary;
        // Windows' own time-outs are set, and the exchange's 90 s armed at the send.
        if (reads) {
            EXPECT_EQ(std::make_tuple(net.options, net.deadlines.front()), std::make_tuple(kTimeOuts, 90000u));
        }
    }
}

using End = UploadOutcome::End;

TEST(NetworkSpeed_Grade, LettersAndSummaries)
{
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
    // The n-th call of that name (0: every one) fails with the error.
    void Fail(const char* call, int n = 1, uint32_t error = 12002) { net.failures[{call, n}] = error; }
    // Every path ends with the button reading "Close" and every opened handle closed.
    UploadOutcome Run()
    {
        const UploadOutcome result = RunUploadBenchmark(context, net, controls);
        EXPECT_EQ(controls.buttonTexts, std::vector<std::string>{"Close"});
        EXPECT_EQ(net.closed, net.opened);
        return result;
    }
};

TEST(UploadBenchmark_Transfer, WholeBodyGoesOnAfterPartialWrites)
{
    Bench b;
    b.net.writeLimit = 1000;
    EXPECT_EQ(b.Run(), kMeasured);
    EXPECT_EQ(std::make_pair(b.net.uploaded.size(), b.context.bytesSent), std::make_pair(size_t{553184}, 553184u));
    EXPECT_EQ(b.net.uploaded.substr(172, kPayload.size()), kPayload);
    // The clock runs from before InternetOpenA to the status: open, connect, request, four
    // headers, send, 555 writes of at most 1,000 bytes, end, response info and status.
    EXPECT_EQ(b.context.uploadMs, 566u);
    EXPECT_EQ(b.net.headers[2], "Username: Sam");
    EXPECT_EQ(b.controls.labels, (std::vector<std::string>{"Benchmarking network speed.", "Waiting for response."}));
    EXPECT_EQ(b.net.options, kTimeOuts);
}

// Every way an upload ends: the step that fails shows its box with its error number, and the
// handles opened so far are closed. A status of 1 is not a Cancel; nothing is read after a status
// other than 200. Cancel during a wait on the host cancels the upload, with no box; a host that
// trickles runs out of the exchange's 90 s as a time-out of that step.
TEST(UploadBenchmark_Outcome, EveryEndWithItsBoxAddressAndCounts)
{
    const char* const address = "198.51.100.7";
    const UploadOutcome error{End::StepFailed, 12002};
    const uint32_t all = 553184;
    // The script, the outcome, the step the box names ("": no box), the address taken, the bytes
    // counted, the requests sent and the reads.
    const std::tuple<void (*)(Bench&), UploadOutcome, const char*, const char*, uint32_t, int, int> cases[] = {
        {[](Bench& b) { b.Fail("InternetOpenA"); }, error, "InternetOpen()", "", 0, 0, 0},
        {[](Bench& b) { b.Fail("InternetConnectA"); }, error, "InternetConnect()", "", 0, 0, 0},
        {[](Bench& b) { b.Fail("HttpOpenRequestA"); }, error, "HttpOpenRequest()", "", 0, 0, 0},
        {[](Bench& b) { b.Fail("HttpAddRequestHeadersA"); }, error, "HttpAddRequestHeaders()", "", 0, 0, 0},
        {[](Bench& b) { b.Fail("HttpSendRequestExA"); }, error, "HttpSendRequestEx()", "", 0, 1, 0},
        {[](Bench& b) { b.Fail("InternetWriteFile", 50); }, error, "HttpSendRequestEx()", "", 0, 1, 0},
        {[](Bench& b) { b.Fail("InternetGetLastResponseInfoA"); }, error, "InternetGetLastResponseInfo()", "", 0, 1, 0},
        {[](Bench& b) { b.Fail("HttpQueryInfoA(19)"); }, error, "HttpQueryInfo(STATUS_CODE)", "", 0, 1, 0},
        {[](Bench& b) { b.Fail("HttpQueryInfoA(1)"); }, error, "HttpQueryInfo(HTTP_QUERY_CONTENT_TYPE)", "", all, 1, 0},
        {[](Bench& b) { b.Fail("HttpQueryInfoA(5)", 1, 0); }, {End::StepFailed, 0},  // without an error number
         "HttpQueryInfo(HTTP_QUERY_CONTENT_LENGTH)", "", all, 1, 0},
        {[](Bench& b) { b.Fail("InternetReadFile", 2); }, error, "InternetReadFile()", "", all, 1, 2},
        {[](Bench& b) { b.net.statusText = "404"; }, {End::HttpStatus, 404}, "", "", 0, 1, 0},
        {[](Bench& b) { b.net.statusText = "1"; }, {End::HttpStatus, 1}, "", "", 0, 1, 0},
        {[](Bench& b) { b.net.responseError = 12157; }, {End::StepFailed, 12157}, "", address, all, 1, 5},
        // An absurd announced length is not read, and the rate stands; never more than the announced length.
        {[](Bench& b) { b.LargeReply("1048577"); }, kMeasured, "", "", all, 1, 0},
        {[](Bench& b) { b.LargeReply("-5"); }, kMeasured, "", "", all, 1, 0},
        {[](Bench& b) { b.LargeReply("1048576"); }, kMeasured, "", address, all, 1, 2},
        {[](Bench& b) { b.LargeReply("5"); }, kMeasured, "", "19", all, 1, 2},
        // A content type too long for its buffer is left unknown.
        {[](Bench& b) { b.Fail("HttpQueryInfoA(1)", 1, 122); }, kMeasured, "", address, all, 1, 5},
        // A forced retry sends again, counting the last attempt's bytes only, and without end till Cancel.
        {[](Bench& b) { b.Fail("HttpEndRequestA", 1, 12032), b.Fail("HttpEndRequestA", 2, 12032); }, kMeasured, "",
         address, all, 3, 5},
        {[](Bench& b) { b.Fail("HttpEndRequestA", 0, 12032), b.controls.cancelAtPoll = 2000; }, kCancelled, "", "", 0,
         15, 0},
        {[](Bench& b) { b.net.slowCall = "InternetWriteFile"; }, error, "HttpSendRequestEx()", "", 0, 1, 0},
        {[](Bench& b) { b.LargeReply("1048576"), b.net.readChunk = 1, b.net.slowCall = "InternetReadFile"; }, error,
         "InternetReadFile()", "", all, 1, 90},
        {[](Bench& b) { b.Fail("HttpSendRequestExA", 1, 1223); }, kCancelled, "", "", 0, 1, 0},
        {[](Bench& b) { b.Fail("InternetWriteFile", 1, 1223); }, kCancelled, "", "", 0, 1, 0},
        {[](Bench& b) { b.Fail("HttpEndRequestA", 1, 1223); }, kCancelled, "", "", 0, 1, 0},
        {[](Bench& b) { b.Fail("InternetReadFile", 1, 1223); }, kCancelled, "", "", all, 1, 1},
    };
    for (size_t row = 0; row < std::size(cases); ++row) {
        const auto& [script, outcome, box, taken, bytes, sends, reads] = cases[row];
        SCOPED_TRACE(row);
        Bench b;
        script(b);
        EXPECT_EQ(b.Run(), outcome);
        EXPECT_EQ(std::tie(g_publicAddress, b.context.bytesSent), std::make_tuple(taken, bytes));
        EXPECT_EQ(std::make_pair(b.net.Count("HttpSendRequestExA"), b.net.Count("InternetReadFile")),
                  std::make_pair(sends, reads));
        const std::string shown = box + (": " + std::to_string(outcome.number));
        EXPECT_EQ(b.controls.errorBoxes, std::vector<std::string>(*box ? 1 : 0, shown));
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
