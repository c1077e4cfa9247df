#include "checks/network/upload_benchmark.h"

#include "app/text_format.h"
#include "checks/network/decimal_text.h"
#include "checks/network/multipart_body.h"
#include "checks/network/network_speed.h"

#include <cstring>
#include <memory>
#include <new>

namespace {

constexpr uint32_t kConnectFlags = 0x040C3040;
constexpr uint32_t kRequestFlags = 0x80403300;
const char* const kAcceptTypes[] = {"text/plain", "text/html", nullptr};
constexpr uint32_t kWriteBlock = 4096;
constexpr uint32_t kHeaderBuffer = 2048;
constexpr uint32_t kContentTypeBuffer = 128;
constexpr uint32_t kResponseInfoBuffer = 2047;
constexpr size_t kUserNameBuffer = 256;
constexpr size_t kPublicAddressMax = 63;

class Transfer {
public:
    Transfer(UploadContext& context, WinInetCalls& net, BenchmarkControls& controls)
        : c_(context), net_(net), ui_(controls)
    {
    }

    UploadOutcome Run()
    {
        UploadOutcome result;
        Steps(result);
        // Every path ends here. From now on the button only closes the
        // dialog's part in the run, so it says so.
        ui_.SetCancelButtonText("Close");
        reply_.reset();
        for (NetHandle handle : {request_, connection_, internet_}) {
            if (handle)
                net_.InternetCloseHandle(handle);
        }
        return result;
    }

private:
    // Each step either goes on or sets the result and returns false.
    bool Poll(UploadOutcome& result)
    {
        if (!ui_.IsBenchmarkCancelled())
            return true;
        result = {UploadOutcome::End::Cancelled, 0};
        return false;
    }

    bool StepFailure(const char* label, UploadOutcome& result, uint32_t error)
    {
        result = {UploadOutcome::End::StepFailed, error};
        ui_.ShowErrorBox(label, error);
        return false;
    }
    bool StepFailure(const char* label, UploadOutcome& result)
    {
        return StepFailure(label, result, net_.GetLastError());
    }
    // A call that waits on the host and failed may have been ended by Cancel:
    // then the check was cancelled, with no box.
    bool WaitFailure(const char* label, UploadOutcome& result)
    {
        const uint32_t error = net_.GetLastError();
        return Poll(result) && StepFailure(label, result, error);
    }

    bool AddHeader(const char* header)
    {
        return net_.HttpAddRequestHeadersA(request_, header, wininet::kHeadersTerminated,
                                           wininet::kAddReqCoalesceWithComma);
    }

    void AddUserNameHeader()
    {
        if (c_.userName == nullptr)
            return;
        const std::string header = FormatBounded(kUserNameBuffer, "Username: %s", c_.userName);
        AddHeader(header.c_str());
    }

    // One write of a block; sent, the bar and the success of the attempt
    // follow it. The first failed write's error is the attempt's.
    bool Write(const void* data, uint32_t length, uint32_t& written, uint32_t& sent, bool& allWritten)
    {
        written = 0;
        budget_.Arm();
        const bool ok = net_.InternetWriteFile(request_, data, length, &written);
        if (!ok && allWritten)
            writeError_ = net_.GetLastError();
        if (!ok)
            allWritten = false;
        sent += written;
        ui_.SetBarPosition(sent);
        return ok;
    }

    void Steps(UploadOutcome& result)
    {
        const uint32_t t0 = ui_.GetTickCount();
        g_publicAddress.clear();
        ui_.SetBarPosition(0);
        ui_.SetBarRange(0, 0);
        ui_.SetLabelText("Benchmarking network speed.");

        const std::string boundary = ui_.MakeMultipartBoundary();
        const std::string partHeader = MakeFilePartHeader(boundary, c_.fileName, c_.payloadSize);
        const std::string closing = MakeClosingBoundary(boundary);

        internet_ = net_.InternetOpenA("Kavlo/1.0", wininet::kOpenTypePreconfig, nullptr, nullptr, 0);
        if (!internet_)
            return (void)StepFailure("InternetOpen()", result);
        SetWindowsDefaultTimeouts(net_, internet_);
        if (!Poll(result))
            return;
        connection_ = net_.InternetConnectA(internet_, c_.host.c_str(), c_.port, nullptr, nullptr,
                                            wininet::kServiceHttp, kConnectFlags, 0);
        if (!connection_)
            return (void)StepFailure("InternetConnect()", result);
        if (!Poll(result))
            return;
        request_ = net_.HttpOpenRequestA(connection_, c_.verb, c_.objectName, "HTTP/1.1", "", kAcceptTypes,
                                         kRequestFlags | (c_.secure ? wininet::kFlagSecure : 0), 0);
        if (!request_)
            return (void)StepFailure("HttpOpenRequest()", result);
        SetWindowsDefaultTimeouts(net_, request_);

        if (c_.secure) {
            // The service's certificate is accepted whoever issued it and
            // whatever name it carries.
            uint32_t securityFlags = 0;
            uint32_t length = sizeof(securityFlags);
            if (net_.InternetQueryOptionA(request_, wininet::kOptionSecurityFlags, &securityFlags, &length)) {
                securityFlags |= wininet::kIgnoreUnknownCaAndCn;
                net_.InternetSetOptionA(request_, wininet::kOptionSecurityFlags, &securityFlags,
                                        sizeof(securityFlags));
            }
        }

        if (!AddHeader("Connection: Keep-Alive") || !AddHeader("Cache-Control: no-cache"))
            return (void)StepFailure("HttpAddRequestHeaders()", result);
        AddUserNameHeader();
        if (!AddHeader(MakeContentTypeHeader(boundary).c_str()))
            return (void)StepFailure("HttpAddRequestHeaders()", result);
        if (!Poll(result))
            return;

        const uint32_t total = static_cast<uint32_t>(partHeader.size()) + c_.payloadSize +
                               static_cast<uint32_t>(closing.size());
        ui_.SetBarPosition(0);
        ui_.SetBarRange(0, total);
        if (!Poll(result))
            return;

        uint32_t sent = 0;
        for (;;) {
            // Each attempt, from its send to the end of the reply, has its budget.
            budget_.Restart();
            budget_.Arm();
            if (!net_.HttpSendRequestExA(request_, total, wininet::kHsrInitiate, 0))
                return (void)WaitFailure("HttpSendRequestEx()", result);

            bool allWritten = true;
            writeError_ = 0;
            uint32_t written = 0;
            sent = 0;
            Write(partHeader.data(), static_cast<uint32_t>(partHeader.size()), written, sent, allWritten);
            if (!Poll(result))
                return;
            uint32_t offset = 0;
            uint32_t remaining = c_.payloadSize;
            while (remaining > 0) {
                const uint32_t block = remaining < kWriteBlock ? remaining : kWriteBlock;
                const bool ok = Write(c_.payload + offset, block, written, sent, allWritten);
                // A block that went only partly is followed by the rest;
                // never more than what remains, whatever the call reports.
                if (written > remaining)
                    written = remaining;
                offset += written;
                remaining -= written;
                if (!Poll(result))
                    return;
                if (!ok || written == 0)
                    break;
            }
            Write(closing.data(), static_cast<uint32_t>(closing.size()), written, sent, allWritten);
            if (!Poll(result))
                return;

            budget_.Arm();
            const bool ended = net_.HttpEndRequestA(request_, wininet::kHsrInitiate, 0);
            if (allWritten && ended)
                break;
            // The end's own error when it failed; after a successful end, the
            // failed write's, never the end's success.
            const uint32_t error = ended ? writeError_ : net_.GetLastError();
            result = {UploadOutcome::End::StepFailed, error};
            if (error != wininet::kErrorForceRetry)
                return (void)(Poll(result) && StepFailure("HttpSendRequestEx()", result, error));
            // The service wants the request again (no limit: Cancel ends it).
            ui_.SetBarPosition(0);
            ui_.SetBarRange(0, total);
            if (!Poll(result))
                return;
        }

        char responseText[kResponseInfoBuffer] = {};
        uint32_t responseLength = kResponseInfoBuffer;
        uint32_t responseError = 0;
        if (!net_.InternetGetLastResponseInfoA(&responseError, responseText, &responseLength))
            return (void)StepFailure("InternetGetLastResponseInfo()", result);
        if (responseError != 0)
            result = {UploadOutcome::End::StepFailed, responseError};
        else
            result = {};
        if (!Poll(result))
            return;
        ui_.SetBarPosition(0);
        ui_.SetLabelText("Waiting for response.");

        char header[kHeaderBuffer] = {};
        uint32_t headerLength = kHeaderBuffer;
        if (!net_.HttpQueryInfoA(request_, wininet::kQueryStatusCode, header, &headerLength, nullptr))
            return (void)StepFailure("HttpQueryInfo(STATUS_CODE)", result);
        header[kHeaderBuffer - 1] = '\0';
        c_.httpStatus = static_cast<uint32_t>(ReadLeadingLong(header));
        if (c_.httpStatus != 200) {
            result = {UploadOutcome::End::HttpStatus, c_.httpStatus};
            return;
        }
        c_.bytesSent = sent;
        c_.uploadMs = ui_.GetTickCount() - t0;

        char contentType[kContentTypeBuffer] = {};
        uint32_t contentTypeLength = kContentTypeBuffer;
        // The type is kept, never interpreted: one too long for its buffer
        // leaves it unknown, and the reply is read all the same.
        if (net_.HttpQueryInfoA(request_, wininet::kQueryContentType, contentType, &contentTypeLength, nullptr)) {
            contentType[kContentTypeBuffer - 1] = '\0';
            c_.replyContentType = contentType;
        } else if (net_.GetLastError() != wininet::kErrorInsufficientBuffer) {
            return (void)StepFailure("HttpQueryInfo(HTTP_QUERY_CONTENT_TYPE)", result);
        }

        std::memset(header, 0, sizeof(header));
        headerLength = kHeaderBuffer;
        if (!net_.HttpQueryInfoA(request_, wininet::kQueryContentLength, header, &headerLength, nullptr))
            return (void)StepFailure("HttpQueryInfo(HTTP_QUERY_CONTENT_LENGTH)", result);
        header[kHeaderBuffer - 1] = '\0';
        const int64_t announced = ReadLeadingDecimal(header);
        c_.replyContentLength =
            announced < 0 ? 0 : announced > 0xFFFFFFFF ? 0xFFFFFFFFu : static_cast<uint32_t>(announced);
        ui_.SetBarRange(0, c_.replyContentLength);
        ui_.SetBarPosition(0);

        // A length that is negative or beyond any reply this service sends
        // is treated like a buffer that cannot be had: the rate stands, the
        // body is not read and no address is taken. The size is reckoned in
        // 64 bits, so the terminator's byte can never wrap it to nothing.
        if (announced < 0 || static_cast<uint64_t>(announced) > kLargestReplyBody)
            return;
        const size_t bufferSize = static_cast<size_t>(announced) + 1;
        reply_.reset(new (std::nothrow) char[bufferSize]);
        if (!reply_)
            return;
        reply_[0] = '\0';
        const uint32_t length = static_cast<uint32_t>(announced);
        uint32_t received = 0;
        for (;;) {
            if (!Poll(result))
                return;
            uint32_t read = 0;
            budget_.Arm();
            if (!net_.InternetReadFile(request_, reply_.get() + received, length - received, &read))
                return (void)WaitFailure("InternetReadFile()", result);
            if (read == 0)
                break;
            if (read > length - received)
                read = length - received;
            received += read;
            reply_[received] = '\0';
            ui_.SetBarPosition(received);
        }

        g_publicAddress = PublicAddressFromReply(reply_.get());
    }

    UploadContext& c_;
    WinInetCalls& net_;
    BenchmarkControls& ui_;
    NetHandle internet_ = nullptr;
    NetHandle connection_ = nullptr;
    NetHandle request_ = nullptr;
    std::unique_ptr<char[]> reply_;
    ExchangeBudget budget_{net_};
    uint32_t writeError_ = 0;
};

}  // namespace

UploadOutcome RunUploadBenchmark(UploadContext& context, WinInetCalls& net, BenchmarkControls& controls)
{
    return Transfer(context, net, controls).Run();
}

std::string PublicAddressFromReply(const char* body)
{
    std::string address;
    if (std::strncmp(body, "OK ", 3) != 0)
        return address;
    for (const char* p = body + 3; address.size() < kPublicAddressMax; ++p) {
        if (!((*p >= '0' && *p <= '9') || *p == '.'))
            break;
        address.push_back(*p);
    }
    return address;
}
