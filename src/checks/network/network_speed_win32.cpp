#include "checks/network/network_speed.h"
#include "checks/network/network_speed_win32.h"

#include "app/app_globals_win32.h"
#include "app/error_text_win32.h"
#include "app/settings.h"
#include "checks/network/multipart_body.h"
#include "checks/network/wininet_calls_win32.h"
#include "resource_ids.h"

#include <commctrl.h>
#include <rpc.h>
#include <wininet.h>

namespace {

// The progress dialog's lower half, the cancel event, the clock and the
// error box, as the transfer uses them.
class WindowsBenchmarkControls : public BenchmarkControls {
public:
    explicit WindowsBenchmarkControls(const BenchmarkContext& context) : context_(context) {}

    uint32_t GetTickCount() override { return ::GetTickCount(); }
    bool IsBenchmarkCancelled() override { return ::IsBenchmarkCancelled(&context_); }
    void SetBarRange(uint32_t low, uint32_t high) override
    {
        SendMessageA(context_.progressBar, PBM_SETRANGE32, low, high);
    }
    void SetBarPosition(uint32_t position) override { SendMessageA(context_.progressBar, PBM_SETPOS, position, 0); }
    void SetLabelText(const char* text) override { SetWindowTextA(context_.progressLabel, text); }
    void SetCancelButtonText(const char* text) override { SetWindowTextA(context_.cancelButton, text); }
    void ShowErrorBox(const char* stepLabel, uint32_t error) override
    {
        SetLastError(error);
        ::ShowLastErrorBox(stepLabel);
    }
    std::string MakeMultipartBoundary() override { return ::MakeMultipartBoundary(); }

private:
    const BenchmarkContext& context_;
};

}  // namespace

std::string MakeMultipartBoundary()
{
    UUID uuid = {};
    UuidCreate(&uuid);
    RPC_CSTR text = nullptr;
    std::string uuidText;
    if (UuidToStringA(&uuid, &text) == RPC_S_OK && text != nullptr) {
        uuidText = reinterpret_cast<const char*>(text);
        RpcStringFreeA(&text);
    }
    return MultipartBoundaryFromUuid(uuidText);
}

bool SplitServiceUrl(const char* url, UploadContext& upload)
{
    // Lengths of 1 ask for pointers into the address itself.
    URL_COMPONENTSA parts = {};
    parts.dwStructSize = sizeof(parts);
    parts.dwSchemeLength = 1;
    parts.dwHostNameLength = 1;
    if (!InternetCrackUrlA(url, 0, 0, &parts) || parts.lpszHostName == nullptr)
        return false;
    upload.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    upload.port = parts.nPort;
    upload.host.assign(parts.lpszHostName, parts.dwHostNameLength);
    return true;
}

bool InitBenchmarkContext(BenchmarkContext& context)
{
    UploadContext& upload = context.upload;
    upload = UploadContext();
    upload.fileName = "benchmark.dat";
    upload.userName = g_salesAgentName.c_str();
    upload.payloadSize = kBenchmarkPayloadSize;
    context.serviceUrl = g_benchmarkServiceUrl.c_str();

    // Backed by the page file and written from directly, block by block.
    context.payloadSection.Reset(
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, SEC_COMMIT | PAGE_READWRITE, 0, upload.payloadSize, nullptr));
    if (!context.payloadSection)
        return false;
    context.payload.Reset(MapViewOfFile(context.payloadSection.Get(), FILE_MAP_ALL_ACCESS, 0, 0, upload.payloadSize));
    if (!context.payload)
        return false;
    uint8_t* payload = static_cast<uint8_t*>(context.payload.Get());
    FillPayloadFromRand(payload, upload.payloadSize);
    upload.payload = payload;

    if (!SplitServiceUrl(context.serviceUrl, upload))
        return false;
    upload.verb = "POST";
    upload.objectName = "/KavloBenchmarkServlet";

    context.cancelEvent = g_cancelEvent;
    context.progressDialog = g_hProgressDlg;
    context.progressBar = GetDlgItem(context.progressDialog, IDC_PROGRESS_CHECK_BAR);
    context.progressLabel = GetDlgItem(context.progressDialog, IDC_PROGRESS_CHECK_LABEL);
    context.cancelButton = GetDlgItem(context.progressDialog, IDCANCEL);
    SendMessageA(context.progressBar, PBM_SETRANGE32, 0, 0);
    SendMessageA(context.progressBar, PBM_SETPOS, 0, 0);
    SendMessageA(context.progressBar, PBM_SETSTEP, 1, 0);
    return true;
}

void ReleaseBenchmarkContext(BenchmarkContext& context)
{
    context.upload.payload = nullptr;
    context.payload.Reset();
    context.payloadSection.Reset();
    context.upload.host.clear();
}

bool IsBenchmarkCancelled(const BenchmarkContext* context)
{
    if (context == nullptr || context->cancelEvent == nullptr)
        return false;
    return WaitForSingleObject(context->cancelEvent, 0) != WAIT_TIMEOUT;
}

void CheckNetworkSpeed(TestResult& result)
{
    NetworkSpeedFacts facts;
    facts.internetReachable = g_internetReachable;
    if (facts.internetReachable) {
        BenchmarkContext context;
        facts.initialized = InitBenchmarkContext(context);
        if (facts.initialized) {
            // Cancel ends a wait on the host as it ends the transfer at its polls.
            WinInetApi net(context.cancelEvent);
            WindowsBenchmarkControls controls(context);
            facts.upload = RunUploadBenchmark(context.upload, net, controls);
            facts.bytesSent = context.upload.bytesSent;
            facts.uploadMs = context.upload.uploadMs;
        }
        ReleaseBenchmarkContext(context);
    }
    GradeNetworkSpeed(facts, result);
}
