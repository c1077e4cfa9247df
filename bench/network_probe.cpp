// lab_network_probe.exe: the upload benchmark's own figure, for
// tests/lab/bench-upload. Runs the Internet Access check (as the run does
// right before the benchmark, so WinINet and TLS are loaded), then only the
// upload transfer, and prints "upload|<result>|<body bytes>|<milliseconds>"
// (result 0, cancelled-0, http-<status> or error-<number>).
#include "app/app_globals_win32.h"
#include "checks/check_functions.h"
#include "checks/network/network_speed.h"
#include "checks/network/network_speed_win32.h"
#include "checks/network/wininet_calls_win32.h"
#include "platform/scoped_win32.h"

#include <cstdio>
#include <string>

namespace {

class QuietControls : public BenchmarkControls {
public:
    uint32_t GetTickCount() override { return ::GetTickCount(); }
    bool IsBenchmarkCancelled() override { return false; }
    void SetBarRange(uint32_t, uint32_t) override {}
    void SetBarPosition(uint32_t) override {}
    void SetLabelText(const char*) override {}
    void SetCancelButtonText(const char*) override {}
    void ShowErrorBox(const char* stepLabel, uint32_t) override { std::printf("error-box|%s\n", stepLabel); }
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

int main()
{
    ScopedHandle cancel(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    g_cancelEvent = cancel.Get();
    return Upload();
}
