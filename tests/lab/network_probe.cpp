// lab_network_probe.exe: runs the four network checks in the order of the
// test table, as the runner would but without windows, and prints one line
// per check: "<name>|<status>|<summary>|<details>". For the lab scenarios.
//
//   --cancelled   the cancel event is set before the checks run, as after
//                 Cancel during the Disk Speed benchmark
//   --upload      runs the Internet Access check (as the run does right
//                 before the benchmark, so WinINet and TLS are loaded), then
//                 only the upload transfer, and prints
//                 "upload|<result>|<body bytes>|<milliseconds>" (benchmarks;
//                 result 0, cancelled-0, http-<status> or error-<number>)
//   --strict-tls  first fetches the site's root page with every certificate
//                 check on and prints "tls|trusted" or "tls|error <number>"
#include "app/app_globals_win32.h"
#include "checks/check_functions.h"
#include "checks/network/network_speed.h"
#include "checks/network/network_speed_win32.h"
#include "checks/network/wininet_calls_win32.h"
#include "app/settings.h"
#include "platform/scoped_win32.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

void Print(const char* name, CheckFunction check)
{
    TestResult result;
    result.name = name;
    check(result);
    std::printf("%s|%c|%s|%s\n", name, result.status, result.summary.c_str(), result.details.c_str());
    std::fflush(stdout);
}

void StrictTls()
{
    ScopedInternetHandle internet(InternetOpenA("Kavlo/1.0", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    const std::string url = "https://" + g_vendorSiteHost + "/";
    ScopedInternetHandle page(InternetOpenUrlA(internet.Get(), url.c_str(), nullptr, 0,
                                               INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0));
    if (page)
        std::printf("tls|trusted\n");
    else
        std::printf("tls|error %lu\n", static_cast<unsigned long>(GetLastError()));
    std::fflush(stdout);
}

class QuietControls : public BenchmarkControls {
public:
    uint32_t GetTickCount() override { return ::GetTickCount(); }
    bool IsBenchmarkCancelled() override { return false; }
    void SetBarRange(uint32_t, uint32_t) override {}
    void SetBarPosition(uint32_t) override {}
    void SetLabelText(const char*) override {}
    void SetCancelButtonText(const char*) override {}
    void ShowLastErrorBox(const char* stepLabel) override { std::printf("error-box|%s\n", stepLabel); }
    std::string MakeMultipartBoundary() override { return ::MakeMultipartBoundary(); }
};

int Upload()
{
    TestResult access;
    CheckInternetAccess(access);
    BenchmarkContext context;
    if (!InitBenchmarkContext(context)) {
        std::printf("upload|init-failed\n");
        return 1;
    }
    WinInetApi net;
    QuietControls controls;
    const UploadOutcome outcome = RunUploadBenchmark(context.upload, net, controls);
    const char* const ends[] = {"", "cancelled-", "http-", "error-"};
    const std::string result = outcome == UploadOutcome{} ? std::string("0")
                                                           : ends[static_cast<int>(outcome.end)] +
                                                                 std::to_string(outcome.number);
    std::printf("upload|%s|%lu|%lu\n", result.c_str(), static_cast<unsigned long>(context.upload.bytesSent),
                static_cast<unsigned long>(context.upload.uploadMs));
    ReleaseBenchmarkContext(context);
    return outcome == UploadOutcome{} ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    ScopedHandle cancel(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    g_cancelEvent = cancel.Get();
    bool upload = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--cancelled") == 0)
            SetEvent(g_cancelEvent);
        else if (std::strcmp(argv[i], "--upload") == 0)
            upload = true;
        else if (std::strcmp(argv[i], "--strict-tls") == 0)
            StrictTls();
    }
    if (upload)
        return Upload();
    Print("Internet Access", CheckInternetAccess);
    Print("Network Speed", CheckNetworkSpeed);
    Print("DNS Lookup", CheckDnsLookup);
    Print("Public IP Address", CheckPublicIpAddress);
    return 0;
}
