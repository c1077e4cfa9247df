#include "checks/network/network_speed.h"
#include "checks/network/upload_benchmark.h"
#include "scripted_wininet.h"

#include <gtest/gtest.h>

void PrintTo(const UploadOutcome& outcome, std::ostream* out)
{
    *out << "end " << static_cast<int>(outcome.end) << " number " << outcome.number;
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
    // The body's framing is checked byte for byte in the lab; here, that the payload went
    // whole and in order, each write going on where the last stopped.
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
        {"HttpAddRequestHeadersA", 4, "HttpAddRequestHeaders()", 3},  // the Content-Type header
        {"HttpSendRequestExA", 1, "HttpSendRequestEx()", 3},
        {"InternetWriteFile", 50, "HttpSendRequestEx()", 3},
        {"HttpEndRequestA", 1, "HttpSendRequestEx()", 3},
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
        EXPECT_EQ(g_publicAddress, "") << c.call;
    }
}

TEST(UploadBenchmark_Status, OtherStatusOrResponseErrorIsTheResultWithoutABox)
{
    // A status of 1 is not a Cancel, and one beyond 32 bits stops at the limit as atol does
    // instead of wrapping round to 200.
    for (const auto& [text, status] : {std::pair{"404", 404u}, {"1", 1u}, {"4294967496", 2147483647u}}) {
        Bench b;
        b.net.statusText = text;
        EXPECT_EQ(b.Run(), (UploadOutcome{End::HttpStatus, status})) << text;
        EXPECT_EQ(b.net.log.back(), "HttpQueryInfoA(19)");  // nothing after the status
        EXPECT_EQ(g_publicAddress, "");
        EXPECT_TRUE(b.controls.errorBoxes.empty());
    }
    Bench responseError;
    responseError.net.responseError = 12157;
    EXPECT_EQ(responseError.Run(), (UploadOutcome{End::StepFailed, 12157}));
    EXPECT_TRUE(responseError.controls.errorBoxes.empty());
}

TEST(UploadBenchmark_Reply, RateStandsWhateverTheReplyHolds)
{
    // The announced length, an error of the content type query, the address taken. An absurd
    // length is not read; a content type too long for its buffer is left unknown.
    const std::tuple<const char*, uint32_t, const char*> cases[] = {
        {"4294967295", 0, ""}, {"1048577", 0, ""}, {"99999999999999999999", 0, ""}, {"-5", 0, ""},
        {"1048576", 0, "198.51.100.7"}, {"5", 0, "19"},  // never more than the announced length
        {"1048576", 122, "198.51.100.7"},
    };
    for (const auto& [length, typeError, address] : cases) {
        Bench b;
        b.net.contentLength = length;
        b.net.body = "OK 198.51.100.7\r\n" + std::string(1 << 20, ' ');
        b.net.readChunk = 1 << 21;
        if (typeError)
            b.net.failures[{"HttpQueryInfoA(1)", 1}] = typeError;
        EXPECT_EQ(b.Run(), kMeasured) << length;
        EXPECT_EQ(g_publicAddress, address) << length;
        EXPECT_EQ(b.net.Count("InternetReadFile") == 0, *address == '\0') << length;
        EXPECT_EQ(b.context.bytesSent, 553184u);
        EXPECT_TRUE(b.controls.errorBoxes.empty());
    }
}

TEST(UploadBenchmark_Retry, ForcedRetrySendsAgainUntilSuccessOrCancel)
{
    Bench b;
    b.net.failures[{"HttpEndRequestA", 1}] = b.net.failures[{"HttpEndRequestA", 2}] = 12032;
    EXPECT_EQ(b.Run(), kMeasured);
    EXPECT_EQ(b.net.Count("HttpSendRequestExA"), 3);
    EXPECT_EQ(b.context.bytesSent, 553184u);  // the last attempt's bytes only

    Bench endless;
    endless.net.failures[{"HttpEndRequestA", 0}] = 12032;
    endless.controls.cancelAtPoll = 2000;
    EXPECT_EQ(endless.Run(), kCancelled);
    EXPECT_GT(endless.net.Count("HttpSendRequestExA"), 10);
    EXPECT_TRUE(b.controls.errorBoxes.empty() && endless.controls.errorBoxes.empty());
}

TEST(UploadBenchmark_Cancel, CancelAtEveryPollPointStopsThereWithoutAnAddress)
{
    // Three reads of the reply body, so the last polls come after the whole address has arrived:
    // it must still not be taken.
    Bench healthy;
    healthy.net.readChunk = 6;
    healthy.Run();
    // After open, connect, headers and the bar; the part header, each of 135 blocks and the
    // closing boundary; the response info; each of four reads.
    ASSERT_EQ(healthy.controls.polls, 146);
    for (int n = 1; n <= healthy.controls.polls; ++n) {
        Bench b;
        b.net.readChunk = 6;
        b.controls.cancelAtPoll = n;
        EXPECT_EQ(b.Run(n == 1 ? 1 : n == 2 ? 2 : 3), kCancelled) << "poll " << n;
        EXPECT_EQ(b.controls.polls, n);
        EXPECT_EQ(g_publicAddress, "") << "poll " << n;
        EXPECT_TRUE(n < healthy.controls.polls || b.net.Count("InternetReadFile") == 3);  // the whole body in
    }
}

TEST(UploadBenchmark_Reply, PublicAddressFromTheReplyBody)
{
    const std::pair<std::string, std::string> cases[] = {
        {"OK 10.1.2.3xyz", "10.1.2.3"}, {"OK ...", "..."},      {"OK " + std::string(70, '7'), std::string(63, '7')},
        {"ok 203.0.113.7", ""},         {"OK203.0.113.7", ""},
    };
    for (const auto& [body, address] : cases)
        EXPECT_EQ(PublicAddressFromReply(body.c_str()), address) << body;
}

}  // namespace
