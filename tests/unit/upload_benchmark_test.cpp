#include "checks/network/multipart_body.h"
#include "checks/network/network_speed.h"
#include "checks/network/upload_benchmark.h"
#include "scripted_wininet.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const std::string kBoundary = "0000----0f1e2d3c-4b5a-6978-8796-a5b4c3d2e1f0";

struct Bench {
    std::vector<uint8_t> payload = std::vector<uint8_t>(kBenchmarkPayloadSize);
    UploadContext context;
    ScriptedWinInet net;
    ScriptedControls controls;

    Bench()
    {
        for (size_t i = 0; i < payload.size(); ++i)
            payload[i] = static_cast<uint8_t>(i * 7 + i / 4096);
        context.userName = "";
        context.payload = payload.data();
        context.payloadSize = kBenchmarkPayloadSize;
        context.host = "www.example.test";
        context.port = 443;
        context.secure = true;
        g_publicAddress = "stale";
    }
    int32_t Run() { return RunUploadBenchmark(context, net, controls); }
    std::string ExpectedBody() const
    {
        return MakeFilePartHeader(kBoundary, "benchmark.dat", kBenchmarkPayloadSize) +
               std::string(payload.begin(), payload.end()) + MakeClosingBoundary(kBoundary);
    }
    // Finished on every path: the button reads "Close", every opened handle is closed.
    void ExpectFinished(size_t handles) const
    {
        EXPECT_EQ(controls.buttonTexts, std::vector<std::string>{"Close"});
        EXPECT_EQ(net.closed.size(), handles);
    }
};

TEST(MultipartBody_Pieces, SizesAndTextsOfTheBody)
{
    EXPECT_EQ(kBoundary.size(), 44u);
    const std::string header = MakeFilePartHeader(kBoundary, "benchmark.dat", kBenchmarkPayloadSize);
    EXPECT_EQ(header, "--" + kBoundary +
                          "\r\nContent-Disposition: form-data; name=\"file\"; filename=\"benchmark.dat\"\r\n"
                          "Content-Type: random/junk\r\nContent-Length: 552960\r\n\r\n");
    EXPECT_EQ(header.size(), 172u);
    EXPECT_EQ(MakeClosingBoundary(kBoundary), "\r\n--" + kBoundary + "--\r\n");
    EXPECT_EQ(MakeClosingBoundary(kBoundary).size(), 52u);
    EXPECT_EQ(header.size() + kBenchmarkPayloadSize + MakeClosingBoundary(kBoundary).size(), 553184u);
    EXPECT_EQ(MultipartBoundaryFromUuid("0f1e2d3c-4b5a-6978-8796-a5b4c3d2e1f0"), kBoundary);
}

TEST(UploadBenchmark_Transfer, HealthyExchangeSendsTheWholeBodyAndTakesTheAddress)
{
    Bench b;
    b.net.readChunk = 4;
    b.controls.ticks = {1000, 3950};
    EXPECT_EQ(b.Run(), 0);

    EXPECT_TRUE(b.net.uploaded == b.ExpectedBody());
    EXPECT_EQ(b.net.announcedTotal, 553184u);
    EXPECT_EQ(b.net.attempts, 1);
    EXPECT_EQ(b.net.sendExFlags, 8u);
    EXPECT_EQ(b.net.endFlags, 8u);
    EXPECT_EQ(b.context.bytesSent, 553184u);
    EXPECT_EQ(b.context.uploadMs, 2950u);
    EXPECT_EQ(b.context.httpStatus, 200u);
    EXPECT_EQ(b.context.replyContentType, "text/plain");
    EXPECT_EQ(b.context.replyContentLength, 17u);
    EXPECT_EQ(g_publicAddress, "198.51.100.7");

    EXPECT_EQ(b.net.headers, (std::vector<std::string>{"Connection: Keep-Alive", "Cache-Control: no-cache",
                                                        "Username: ",
                                                        "Content-Type: multipart/form-data; boundary=" + kBoundary +
                                                            "\r\n"}));
    EXPECT_EQ(b.net.openAgent, "Kavlo/1.0");
    EXPECT_EQ(b.net.connectHost, "www.example.test");
    EXPECT_EQ(b.net.connectPort, 443);
    EXPECT_EQ(b.net.connectFlags, 0x040C3040u);
    EXPECT_EQ(b.net.verb, "POST");
    EXPECT_EQ(b.net.objectName, "/KavloBenchmarkServlet");
    EXPECT_EQ(b.net.requestFlags, 0x80403300u | 0x00800000u);
    EXPECT_EQ(b.net.acceptTypes, (std::vector<std::string>{"text/plain", "text/html"}));
    EXPECT_EQ(b.net.setSecurityFlags, 0x3000u | 0x1100u);
    EXPECT_EQ(b.controls.labels,
              (std::vector<std::string>{"Benchmarking network speed.", "Waiting for response."}));
    EXPECT_TRUE(b.controls.errorBoxes.empty());
    // Bar: emptied, counts the 553,184 body bytes, emptied, counts the 17 reply bytes.
    const auto& bar = b.controls.bar;
    EXPECT_EQ(bar[0], "pos 0");
    EXPECT_EQ(bar[1], "range 0-0");
    EXPECT_EQ(bar[3], "range 0-553184");
    EXPECT_NE(std::find(bar.begin(), bar.end(), "pos 553184"), bar.end());
    EXPECT_NE(std::find(bar.begin(), bar.end(), "range 0-17"), bar.end());
    EXPECT_EQ(bar.back(), "pos 17");
    // No write of the payload is larger than 4,096 bytes: 135 blocks.
    EXPECT_EQ(b.net.Count("InternetWriteFile"), 1 + 135 + 1);
    b.ExpectFinished(3);
}

TEST(UploadBenchmark_Transfer, PlainHttpLeavesTheCertificateChecksAlone)
{
    Bench b;
    b.context.secure = false;
    b.context.port = 80;
    EXPECT_EQ(b.Run(), 0);
    EXPECT_EQ(b.net.requestFlags, 0x80403300u);
    EXPECT_EQ(b.net.Count("InternetQueryOptionA"), 0);
    EXPECT_EQ(b.net.Count("InternetSetOptionA"), 0);
}

TEST(UploadBenchmark_Transfer, AbsentUserNameSendsNoUsernameHeaderAndLongOneIsCut)
{
    Bench absent;
    absent.context.userName = nullptr;
    absent.Run();
    EXPECT_EQ(absent.net.headers.size(), 3u);

    Bench longName;
    const std::string name(400, 'n');
    longName.context.userName = name.c_str();
    longName.Run();
    EXPECT_EQ(longName.net.headers[2], "Username: " + std::string(255 - 10, 'n'));
}

TEST(UploadBenchmark_Transfer, PartialWritesAreFollowedByTheRest)
{
    Bench b;
    b.net.writeLimit = 1000;
    EXPECT_EQ(b.Run(), 0);
    // The payload goes on from wherever each write stopped.
    EXPECT_TRUE(b.net.uploaded == b.ExpectedBody());
    EXPECT_EQ(b.context.bytesSent, 553184u);
    EXPECT_EQ(b.net.Count("InternetWriteFile"), 1 + 553 + 1);
}

struct UploadStepCase {
    const char* call;
    int occurrence;
    const char* label;
    size_t closed;
};

TEST(UploadBenchmark_StepFailure, EachStepFailsWithItsLabelAndErrorNumber)
{
    const UploadStepCase cases[] = {
        {"InternetOpenA", 1, "InternetOpen()", 0},
        {"InternetConnectA", 1, "InternetConnect()", 1},
        {"HttpOpenRequestA", 1, "HttpOpenRequest()", 2},
        {"HttpAddRequestHeadersA", 1, "HttpAddRequestHeaders()", 3},
        {"HttpAddRequestHeadersA", 2, "HttpAddRequestHeaders()", 3},
        {"HttpAddRequestHeadersA", 4, "HttpAddRequestHeaders()", 3},
        {"HttpSendRequestExA", 1, "HttpSendRequestEx()", 3},
        {"InternetWriteFile", 1, "HttpSendRequestEx()", 3},
        {"InternetWriteFile", 50, "HttpSendRequestEx()", 3},
        {"InternetWriteFile", 137, "HttpSendRequestEx()", 3},
        {"HttpEndRequestA", 1, "HttpSendRequestEx()", 3},
        {"InternetGetLastResponseInfoA", 1, "InternetGetLastResponseInfo()", 3},
        {"HttpQueryInfoA(19)", 1, "HttpQueryInfo(STATUS_CODE)", 3},
        {"HttpQueryInfoA(1)", 1, "HttpQueryInfo(HTTP_QUERY_CONTENT_TYPE)", 3},
        {"HttpQueryInfoA(5)", 1, "HttpQueryInfo(HTTP_QUERY_CONTENT_LENGTH)", 3},
        {"InternetReadFile", 2, "InternetReadFile()", 3},
    };
    for (const UploadStepCase& c : cases) {
        Bench b;
        b.net.failures[{c.call, c.occurrence}] = 12002;
        EXPECT_EQ(b.Run(), 12002) << c.call << " " << c.occurrence;
        EXPECT_EQ(b.controls.errorBoxes, std::vector<std::string>{c.label}) << c.call;
        EXPECT_EQ(g_publicAddress, "") << c.call;
        b.ExpectFinished(c.closed);

        TestResult result;
        GradeNetworkSpeed({true, true, 12002, 0, 0}, result);
        EXPECT_EQ(result.summary, "Test failed with error code: 12002");
    }
}

TEST(UploadBenchmark_StepFailure, FailedUsernameHeaderIsIgnored)
{
    Bench b;
    b.net.failures[{"HttpAddRequestHeadersA", 3}] = 87;
    EXPECT_EQ(b.Run(), 0);
    EXPECT_TRUE(b.controls.errorBoxes.empty());
}

TEST(UploadBenchmark_StepFailure, ReplyWithoutContentTypeOrLengthFailsDespiteStatus200)
{
    Bench noType;
    noType.net.hasContentType = false;
    EXPECT_EQ(noType.Run(), 12150);
    Bench noLength;
    noLength.net.hasContentLength = false;
    EXPECT_EQ(noLength.Run(), 12150);
    EXPECT_EQ(noLength.controls.errorBoxes,
              std::vector<std::string>{"HttpQueryInfo(HTTP_QUERY_CONTENT_LENGTH)"});
}

TEST(UploadBenchmark_StepFailure, ResponseErrorOnCompletedExchangeIsTheResult)
{
    Bench b;
    b.net.responseError = 12157;
    EXPECT_EQ(b.Run(), 12157);
    EXPECT_TRUE(b.controls.errorBoxes.empty());
}

TEST(UploadBenchmark_Status, OtherStatusEndsTheTransferRightAfterIt)
{
    Bench b;
    b.net.statusText = "404";
    EXPECT_EQ(b.Run(), -404);
    EXPECT_EQ(b.net.log.back(), "HttpQueryInfoA(19)");
    EXPECT_EQ(b.net.Count("InternetReadFile"), 0);
    EXPECT_EQ(b.context.bytesSent, 0u);
    EXPECT_EQ(g_publicAddress, "");
    EXPECT_TRUE(b.controls.errorBoxes.empty());
    b.ExpectFinished(3);
}

TEST(UploadBenchmark_Retry, ForcedRetryStartsAnotherAttemptThenSucceeds)
{
    Bench b;
    b.net.endRequestErrors = {12032, 12032, 0};
    EXPECT_EQ(b.Run(), 0);
    EXPECT_EQ(b.net.attempts, 3);
    EXPECT_TRUE(b.net.uploaded == b.ExpectedBody());
    EXPECT_EQ(b.context.bytesSent, 553184u);  // the last attempt's bytes only
    EXPECT_TRUE(b.controls.errorBoxes.empty());
    int restarts = 0;
    for (size_t i = 1; i < b.controls.bar.size(); ++i)
        restarts += b.controls.bar[i - 1] == "pos 0" && b.controls.bar[i] == "range 0-553184";
    EXPECT_EQ(restarts, 3);
}

TEST(UploadBenchmark_Retry, EndlessForcedRetryEndsOnlyWithCancel)
{
    Bench b;
    b.net.failures[{"HttpEndRequestA", 0}] = 12032;
    b.controls.cancelAtPoll = 2000;
    EXPECT_EQ(b.Run(), -1);
    EXPECT_GT(b.net.attempts, 10);
    EXPECT_TRUE(b.controls.errorBoxes.empty());
    b.ExpectFinished(3);
}

TEST(UploadBenchmark_Cancel, CancelAtEveryPollPointStopsThereWithoutAnAddress)
{
    Bench healthy;
    healthy.net.readChunk = 6;  // three body reads, the last giving 0 bytes after them
    healthy.Run();
    const int polls = healthy.controls.polls;
    ASSERT_GT(polls, 140);
    for (int n = 1; n <= polls; ++n) {
        Bench b;
        b.net.readChunk = 6;
        b.controls.cancelAtPoll = n;
        EXPECT_EQ(b.Run(), -1) << "poll " << n;
        EXPECT_EQ(b.controls.polls, n);
        EXPECT_EQ(g_publicAddress, "") << "poll " << n;
        b.ExpectFinished(n == 1 ? 1 : n == 2 ? 2 : 3);
    }
}

TEST(UploadBenchmark_Cancel, CancelDuringTheReplyBodyKeepsTheAddressEmpty)
{
    Bench b;
    b.net.readChunk = 4;
    b.net.body = "OK 203.0.113.7\r\n";
    Bench healthy;
    healthy.net.readChunk = 4;
    healthy.net.body = b.net.body;
    healthy.Run();
    b.controls.cancelAtPoll = healthy.controls.polls - 1;  // the whole body is in by then
    EXPECT_EQ(b.Run(), -1);
    EXPECT_GE(b.net.Count("InternetReadFile"), 3);
    EXPECT_EQ(g_publicAddress, "");
}

TEST(UploadBenchmark_Cancel, CancelFromAnEarlierCheckStopsAtTheFirstPoll)
{
    Bench b;
    b.controls.cancelAtPoll = 1;
    EXPECT_EQ(b.Run(), -1);
    EXPECT_EQ(b.net.log, std::vector<std::string>{"InternetOpenA"});
    b.ExpectFinished(1);
}

TEST(UploadBenchmark_Reply, PublicAddressFromTheReplyBody)
{
    const std::pair<std::string, std::string> cases[] = {
        {"OK 203.0.113.7\r\n", "203.0.113.7"},
        {"OK 10.1.2.3xyz", "10.1.2.3"},
        {"OK ...", "..."},
        {"OK " + std::string(70, '7'), std::string(63, '7')},
        {"ok 203.0.113.7", ""},
        {"OK", ""},
        {"OK203.0.113.7", ""},
        {"", ""},
    };
    for (const auto& [body, address] : cases) {
        Bench b;
        b.net.body = body;
        EXPECT_EQ(b.Run(), 0) << body;
        EXPECT_EQ(g_publicAddress, address) << body;
        EXPECT_EQ(PublicAddressFromReply(body.c_str()), address);
    }
}

TEST(UploadBenchmark_Reply, AbsurdContentLengthIsNotReadButTheRateStands)
{
    const char* lengths[] = {"4294967295", "4294967296", "1048577", "99999999999999999999", "-5"};
    for (const char* length : lengths) {
        Bench b;
        b.net.contentLength = length;
        b.net.body = "OK 198.51.100.7\r\n";
        EXPECT_EQ(b.Run(), 0) << length;
        EXPECT_EQ(b.net.Count("InternetReadFile"), 0) << length;
        EXPECT_EQ(g_publicAddress, "") << length;
        EXPECT_EQ(b.context.bytesSent, 553184u);
        EXPECT_TRUE(b.controls.errorBoxes.empty());
        b.ExpectFinished(3);
    }
}

TEST(UploadBenchmark_Reply, LengthOfOneMebibyteIsStillRead)
{
    Bench b;
    b.net.contentLength = "1048576";
    b.net.readChunk = 1 << 20;
    b.net.body = "OK 198.51.100.7\r\n" + std::string((1 << 20) - 17, ' ');
    EXPECT_EQ(b.Run(), 0);
    EXPECT_EQ(g_publicAddress, "198.51.100.7");
    EXPECT_EQ(b.net.readRequests, (std::vector<uint32_t>{1 << 20, 0}));
}

TEST(UploadBenchmark_Reply, ReadsNeverAskForMoreThanTheAnnouncedLength)
{
    Bench b;
    b.net.contentLength = "5";
    b.net.body = "OK 1.2.3.4";
    b.net.readChunk = 100;
    EXPECT_EQ(b.Run(), 0);
    EXPECT_EQ(b.net.readRequests, (std::vector<uint32_t>{5, 0}));
    EXPECT_EQ(g_publicAddress, "1.");
}

}  // namespace
