#include "app/app_globals_win32.h"
#include "app/settings.h"
#include "checks/network/dns_lookup_win32.h"
#include "checks/network/network_speed.h"
#include "checks/network/network_speed_win32.h"
#include "checks/network/public_ip_address.h"
#include "checks/network/upload_benchmark.h"
#include "checks/network/wininet_calls_win32.h"

#include <winsock2.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

TEST(NetworkWin32_ServiceUrl, SplitsSchemeHostAndPort)
{
    UploadContext upload;
    ASSERT_TRUE(SplitServiceUrl("https://www.example.test/KavloBenchmarkService", upload));
    EXPECT_EQ(upload.host, "www.example.test");
    EXPECT_EQ(upload.port, 443);
    EXPECT_TRUE(upload.secure);
    ASSERT_TRUE(SplitServiceUrl("http://127.0.0.1:8080/x", upload));
    EXPECT_EQ(upload.host, "127.0.0.1");
    EXPECT_EQ(upload.port, 8080);
    EXPECT_FALSE(upload.secure);
    EXPECT_FALSE(SplitServiceUrl("not a url", upload));
}

TEST(NetworkWin32_Boundary, NewUuidEveryTimeInTheTextForm)
{
    const std::string a = MakeMultipartBoundary();
    const std::string b = MakeMultipartBoundary();
    EXPECT_NE(a, b);
    ASSERT_EQ(a.size(), 44u);
    EXPECT_EQ(a.substr(0, 8), "0000----");
    for (size_t i = 8; i < a.size(); ++i) {
        const bool hyphen = i == 16 || i == 21 || i == 26 || i == 31;
        EXPECT_TRUE(hyphen ? a[i] == '-' : (isdigit(a[i]) || (a[i] >= 'a' && a[i] <= 'f'))) << a;
    }
}

TEST(NetworkWin32_Context, PayloadComesFromRandAndIsReleased)
{
    std::srand(7);
    std::vector<uint8_t> expected(kBenchmarkPayloadSize);
    for (auto& byte : expected)
        byte = static_cast<uint8_t>(std::rand() & 0xFF);
    std::srand(7);
    // The service is told the sales agent's name (empty until a print asks for it).
    const std::string agentBefore = g_salesAgentName;
    g_salesAgentName = "Sam Seller";
    BenchmarkContext context;
    ASSERT_TRUE(InitBenchmarkContext(context));
    EXPECT_EQ(context.upload.payloadSize, 552960u);
    EXPECT_EQ(std::memcmp(context.upload.payload, expected.data(), expected.size()), 0);
    EXPECT_TRUE(context.upload.secure);
    EXPECT_EQ(context.upload.port, 443);
    EXPECT_STREQ(context.upload.objectName, "/KavloBenchmarkServlet");
    EXPECT_STREQ(context.upload.userName, "Sam Seller");
    ReleaseBenchmarkContext(context);
    g_salesAgentName = agentBefore;
    EXPECT_FALSE(context.payload);
    EXPECT_FALSE(context.payloadSection);
    EXPECT_EQ(context.upload.payload, nullptr);
    ReleaseBenchmarkContext(context);  // harmless twice, and on a fresh context
    BenchmarkContext fresh;
    ReleaseBenchmarkContext(fresh);
}

TEST(NetworkWin32_Cancel, EventStatesAsTheBenchmarkSeesThem)
{
    EXPECT_FALSE(IsBenchmarkCancelled(nullptr));
    BenchmarkContext context;
    EXPECT_FALSE(IsBenchmarkCancelled(&context));
    ScopedHandle event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    context.cancelEvent = event.Get();
    EXPECT_FALSE(IsBenchmarkCancelled(&context));
    SetEvent(event.Get());
    EXPECT_TRUE(IsBenchmarkCancelled(&context));
    event.Reset();
    EXPECT_TRUE(IsBenchmarkCancelled(&context));  // a failed wait counts as Cancel
}

TEST(NetworkWin32_Dns, AddressSplitDecodesTheHostAndRefusesWhatDoesNotFit)
{
    WindowsDnsCalls dns;
    char host[256] = {};
    const std::string escaped = "https://w%77w.example.test/";
    ASSERT_TRUE(dns.InternetCrackUrlA(escaped.c_str(), escaped.size(), kIcuDecode, host, sizeof(host)));
    EXPECT_STREQ(host, "www.example.test");
    const std::string tooLong = "https://" + std::string(300, 'h') + "/";
    EXPECT_FALSE(dns.InternetCrackUrlA(tooLong.c_str(), tooLong.size(), kIcuDecode, host, sizeof(host)));

    TestResult result;
    RunDnsLookup(dns, "www.example.test", result);
    EXPECT_EQ(result.summary, "Internal Error");
    EXPECT_EQ(result.details, "Internal Error");
}

TEST(NetworkWin32_Checks, SkippedBenchmarkLeavesNoAddress)
{
    g_internetReachable = false;
    g_publicAddress.clear();
    TestResult speed;
    CheckNetworkSpeed(speed);
    EXPECT_EQ(speed.status, 'F');
    EXPECT_EQ(speed.summary, "Test skipped, unable to access the Internet.");
    EXPECT_EQ(speed.details, "Minimum upload speed is 1.50 M bits/sec.");
    TestResult address;
    CheckPublicIpAddress(address);
    EXPECT_EQ(address.status, 'I');
    EXPECT_EQ(address.summary, "Unable to determine");
}

// A one-request HTTP server on loopback: reads the request to the end of its
// announced body, then sends `reply`. What arrived is kept for the test.
class LoopbackServer {
public:
    explicit LoopbackServer(std::string reply) : reply_(std::move(reply))
    {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        int length = sizeof(address);
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        listen(listener_, 1);
        thread_ = std::thread([this] { Serve(); });
    }
    ~LoopbackServer()
    {
        closesocket(listener_);
        thread_.join();
        WSACleanup();
    }
    uint16_t Port() const { return port_; }
    std::string received;

private:
    void Serve()
    {
        SOCKET client = accept(listener_, nullptr, nullptr);
        if (client == INVALID_SOCKET)
            return;
        char buffer[8192];
        size_t wanted = std::string::npos;
        while (wanted == std::string::npos || received.size() < wanted) {
            const int n = recv(client, buffer, sizeof(buffer), 0);
            if (n <= 0)
                break;
            received.append(buffer, n);
            const size_t end = received.find("\r\n\r\n");
            if (wanted == std::string::npos && end != std::string::npos) {
                const size_t at = received.find("Content-Length: ");
                wanted = end + 4 + (at < end ? std::strtoul(received.c_str() + at + 16, nullptr, 10) : 0);
            }
        }
        send(client, reply_.data(), static_cast<int>(reply_.size()), 0);
        shutdown(client, SD_SEND);
        closesocket(client);
    }

    std::string reply_;
    SOCKET listener_ = INVALID_SOCKET;
    uint16_t port_ = 0;
    std::thread thread_;
};

class NullControls : public BenchmarkControls {
public:
    uint32_t GetTickCount() override { return ::GetTickCount(); }
    bool IsBenchmarkCancelled() override { return false; }
    void SetBarRange(uint32_t, uint32_t) override {}
    void SetBarPosition(uint32_t) override {}
    void SetLabelText(const char*) override {}
    void SetCancelButtonText(const char*) override {}
    void ShowLastErrorBox(const char* stepLabel) override { errorBoxes.push_back(stepLabel); }
    std::string MakeMultipartBoundary() override { return ::MakeMultipartBoundary(); }
    std::vector<std::string> errorBoxes;
};

int32_t UploadTo(LoopbackServer& server, UploadContext& upload, NullControls& controls)
{
    static std::vector<uint8_t> payload(kBenchmarkPayloadSize, 'p');
    upload.payload = payload.data();
    upload.payloadSize = kBenchmarkPayloadSize;
    upload.userName = "";
    upload.host = "127.0.0.1";
    upload.port = server.Port();
    WinInetApi net;
    return RunUploadBenchmark(upload, net, controls);
}

TEST(NetworkWin32_Upload, WinInetSendsTheWholeMultipartBody)
{
    LoopbackServer server("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: 15\r\n"
                          "Connection: close\r\n\r\nOK 127.0.0.1\r\n");
    UploadContext upload;
    NullControls controls;
    g_publicAddress = "stale";
    EXPECT_EQ(UploadTo(server, upload, controls), 0);
    EXPECT_TRUE(controls.errorBoxes.empty());
    EXPECT_EQ(upload.bytesSent, 553184u);
    EXPECT_EQ(g_publicAddress, "127.0.0.1");
    EXPECT_EQ(upload.replyContentType, "text/plain");

    const std::string& request = server.received;
    EXPECT_EQ(request.rfind("POST /KavloBenchmarkServlet HTTP/1.1\r\n", 0), 0u) << request.substr(0, 200);
    EXPECT_NE(request.find("User-Agent: Kavlo/1.0\r\n"), std::string::npos);
    EXPECT_NE(request.find("Content-Length: 553184\r\n"), std::string::npos);
    const size_t at = request.find("boundary=");
    ASSERT_NE(at, std::string::npos);
    const std::string boundary = request.substr(at + 9, 44);
    const size_t body = request.find("\r\n\r\n") + 4;
    EXPECT_EQ(request.size() - body, 553184u);
    EXPECT_EQ(request.substr(body, 46), "--" + boundary);
    EXPECT_EQ(request.substr(request.size() - 52), "\r\n--" + boundary + "--\r\n");
}

TEST(NetworkWin32_Upload, HugeContentLengthIsNotReadAndTheRateStands)
{
    LoopbackServer server("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: 4294967295\r\n"
                          "Connection: close\r\n\r\nOK 127.0.0.1\r\n");
    UploadContext upload;
    NullControls controls;
    EXPECT_EQ(UploadTo(server, upload, controls), 0);
    EXPECT_EQ(upload.replyContentLength, 4294967295u);
    EXPECT_EQ(upload.bytesSent, 553184u);
    EXPECT_EQ(g_publicAddress, "");
}

TEST(NetworkWin32_Upload, StatusOtherThan200IsTheResult)
{
    LoopbackServer server("HTTP/1.1 404 Not Found\r\nContent-Type: text/plain\r\nContent-Length: 0\r\n"
                          "Connection: close\r\n\r\n");
    UploadContext upload;
    NullControls controls;
    EXPECT_EQ(UploadTo(server, upload, controls), -404);
}

}  // namespace
