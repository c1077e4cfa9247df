// The upload benchmark's transfer: one multipart POST to the vendor's
// benchmark service, timed from before the Internet handle is opened until
// the reply status has arrived, with the progress dialog's lower half driven
// and the cancel event polled between the steps.
#pragma once

#include "checks/network/wininet_calls.h"

#include <cstdint>
#include <string>

// What the transfer needs besides WinINet: the clock, the cancel poll, the
// progress controls, the error box and a new UUID. The Win32 implementation
// forwards to GetTickCount, WaitForSingleObject, the controls 1002, 1003 and
// IDCANCEL of the progress dialog, ShowLastErrorBox and the RPC UUID calls.
class BenchmarkControls {
public:
    virtual ~BenchmarkControls() = default;
    virtual uint32_t GetTickCount() = 0;
    virtual bool IsBenchmarkCancelled() = 0;
    virtual void SetBarRange(uint32_t low, uint32_t high) = 0;  // PBM_SETRANGE32
    virtual void SetBarPosition(uint32_t position) = 0;         // PBM_SETPOS
    virtual void SetLabelText(const char* text) = 0;
    virtual void SetCancelButtonText(const char* text) = 0;
    // The error box about `error` (the system's text for it; the label names
    // the failed call).
    virtual void ShowErrorBox(const char* stepLabel, uint32_t error) = 0;
    // "0000----" and the text of a new UUID.
    virtual std::string MakeMultipartBoundary() = 0;
};

// The parts of the benchmark's context the transfer reads and writes; the
// payload section and the progress windows stay with the Win32 side.
struct UploadContext {
    const char* fileName = "benchmark.dat";
    const char* userName = nullptr;  // null: no Username header
    const uint8_t* payload = nullptr;
    uint32_t payloadSize = 0;
    std::string host;
    uint16_t port = 0;
    bool secure = false;
    const char* verb = "POST";
    const char* objectName = "/KavloBenchmarkServlet";

    std::string replyContentType;
    uint32_t replyContentLength = 0;
    uint32_t httpStatus = 0;
    uint32_t uploadMs = 0;
    uint32_t bytesSent = 0;
};

// A reply whose announced length is above this is not believed: its buffer
// is not taken and its body is not read.
constexpr uint64_t kLargestReplyBody = 1024 * 1024;

// How a transfer ended. Each end has its own kind, so that no status or
// error number can pass for another end: a status "1" is not a Cancel, and a
// step that fails with error number 0 is still a failure.
struct UploadOutcome {
    enum class End {
        Measured,    // status 200 and every step after it done: the rate stands
        Cancelled,   // Cancel was found at a poll
        HttpStatus,  // the service answered another status: `number`
        StepFailed,  // `number`: the failed step's error number (0 when it gave
                     // none), or the response error of a completed exchange
    };
    End end = End::Measured;
    uint32_t number = 0;
    bool operator==(const UploadOutcome& other) const { return end == other.end && number == other.number; }
};

// Fills g_publicAddress from a reply body that begins with "OK ".
UploadOutcome RunUploadBenchmark(UploadContext& context, WinInetCalls& net, BenchmarkControls& controls);

// The address after "OK " at the start of a reply body: its digits and full
// stops up to the first other character, at most 63; empty without the marker.
std::string PublicAddressFromReply(const char* body);
