#include "checks/network/wininet_calls_win32.h"

#include "checks/network/call_deadline_win32.h"

#include <windows.h>
#include <wininet.h>

#include <cstring>
#include <string>

static_assert(wininet::kOpenTypePreconfig == INTERNET_OPEN_TYPE_PRECONFIG);
static_assert(wininet::kServiceHttp == INTERNET_SERVICE_HTTP);
static_assert(wininet::kDefaultHttpsPort == INTERNET_DEFAULT_HTTPS_PORT);
static_assert(wininet::kOptionSecurityFlags == INTERNET_OPTION_SECURITY_FLAGS);
static_assert(wininet::kOptionConnectTimeout == INTERNET_OPTION_CONNECT_TIMEOUT);
static_assert(wininet::kOptionSendTimeout == INTERNET_OPTION_SEND_TIMEOUT);
static_assert(wininet::kOptionReceiveTimeout == INTERNET_OPTION_RECEIVE_TIMEOUT);
static_assert(wininet::kIgnoreUnknownCaAndCn == (SECURITY_FLAG_IGNORE_UNKNOWN_CA | SECURITY_FLAG_IGNORE_CERT_CN_INVALID));
static_assert(wininet::kFlagSecure == INTERNET_FLAG_SECURE);
static_assert(wininet::kAddReqCoalesceWithComma == HTTP_ADDREQ_FLAG_COALESCE_WITH_COMMA);
static_assert(wininet::kQueryContentType == HTTP_QUERY_CONTENT_TYPE);
static_assert(wininet::kQueryContentLength == HTTP_QUERY_CONTENT_LENGTH);
static_assert(wininet::kQueryStatusCode == HTTP_QUERY_STATUS_CODE);
static_assert(wininet::kHsrInitiate == HSR_INITIATE);
static_assert(wininet::kErrorForceRetry == ERROR_INTERNET_FORCE_RETRY);
static_assert(wininet::kErrorInsufficientBuffer == ERROR_INSUFFICIENT_BUFFER);
static_assert(wininet::kSchemeHttps == INTERNET_SCHEME_HTTPS);
static_assert(wininet::kErrorTimeout == ERROR_INTERNET_TIMEOUT);
// The connection and request flags the checks pass, spelled out.
static_assert(0x040C3040 == (INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_AUTH |
                             INTERNET_FLAG_IGNORE_CERT_DATE_INVALID | INTERNET_FLAG_IGNORE_CERT_CN_INVALID |
                             INTERNET_FLAG_FORMS_SUBMIT));
static_assert(0x80403300 == (INTERNET_FLAG_RELOAD | INTERNET_FLAG_KEEP_CONNECTION |
                             INTERNET_FLAG_IGNORE_CERT_DATE_INVALID | INTERNET_FLAG_IGNORE_CERT_CN_INVALID |
                             INTERNET_FLAG_NO_UI | INTERNET_FLAG_PRAGMA_NOCACHE));

NetHandle WinInetApi::InternetOpenA(const char* agent, uint32_t accessType, const char* proxy,
                                    const char* proxyBypass, uint32_t flags)
{
    return ::InternetOpenA(agent, accessType, proxy, proxyBypass, flags);
}

NetHandle WinInetApi::InternetConnectA(NetHandle internet, const char* host, uint16_t port, const char* user,
                                       const char* password, uint32_t service, uint32_t flags, uintptr_t context)
{
    if (Refused())
        return nullptr;
    return ::InternetConnectA(internet, host, port, user, password, service, flags, context);
}

NetHandle WinInetApi::HttpOpenRequestA(NetHandle connection, const char* verb, const char* objectName,
                                       const char* version, const char* referrer, const char* const* acceptTypes,
                                       uint32_t flags, uintptr_t context)
{
    if (Refused())
        return nullptr;
    return ::HttpOpenRequestA(connection, verb, objectName, version, referrer, const_cast<LPCSTR*>(acceptTypes),
                              flags, context);
}

bool WinInetApi::InternetQueryOptionA(NetHandle handle, uint32_t option, void* buffer, uint32_t* length)
{
    if (Refused())
        return false;
    DWORD size = *length;
    const BOOL ok = ::InternetQueryOptionA(handle, option, buffer, &size);
    *length = size;
    return ok != FALSE;
}

bool WinInetApi::InternetSetOptionA(NetHandle handle, uint32_t option, void* buffer, uint32_t length)
{
    if (Refused())
        return false;
    return ::InternetSetOptionA(handle, option, buffer, length) != FALSE;
}

bool WinInetApi::HttpAddRequestHeadersA(NetHandle request, const char* headers, uint32_t length, uint32_t modifiers)
{
    if (Refused())
        return false;
    return ::HttpAddRequestHeadersA(request, headers, length, modifiers) != FALSE;
}

// The calls that wait on the host run on a thread of their own, each with a
// record that holds what it reads and writes, so that a call given up never
// touches the caller's memory: a send takes copies of its headers and body, a write takes a copy of its block and a read fills the record's
// buffer, copied out once the call has returned.
namespace {

struct SendRequest : PendingCall {
    HINTERNET request = nullptr;
    bool hasHeaders = false, hasBody = false;
    std::string headers, body;
    BOOL Call() override
    {
        return ::HttpSendRequestA(request, hasHeaders ? headers.c_str() : nullptr,
                                  static_cast<DWORD>(headers.size()), hasBody ? &body[0] : nullptr,
                                  static_cast<DWORD>(body.size()));
    }
};

struct SendRequestEx : PendingCall {
    HINTERNET request = nullptr;
    INTERNET_BUFFERSA buffers = {};
    DWORD flags = 0;
    DWORD_PTR context = 0;
    BOOL Call() override { return ::HttpSendRequestExA(request, &buffers, nullptr, flags, context); }
};

struct WriteBlock : PendingCall {
    HINTERNET request = nullptr;
    std::string block;
    DWORD written = 0;
    BOOL Call() override
    {
        return ::InternetWriteFile(request, block.data(), static_cast<DWORD>(block.size()), &written);
    }
};

struct EndRequest : PendingCall {
    HINTERNET request = nullptr;
    DWORD flags = 0;
    DWORD_PTR context = 0;
    BOOL Call() override { return ::HttpEndRequestA(request, nullptr, flags, context); }
};

struct ReadBlock : PendingCall {
    HINTERNET request = nullptr;
    std::string block;
    DWORD read = 0;
    BOOL Call() override { return ::InternetReadFile(request, &block[0], static_cast<DWORD>(block.size()), &read); }
};

// The record's result with its error as the thread's last error, then the
// caller's share of it given up.
bool Finish(PendingCall* call)
{
    const bool ok = call->result != FALSE;
    const DWORD error = call->error;
    call->Release();
    ::SetLastError(error);
    return ok;
}

}  // namespace

WinInetApi::~WinInetApi()
{
    if (abandoned_ != nullptr)
        abandoned_->Release();
    if (thread_ != nullptr)
        thread_->Retire();
}

bool WinInetApi::Refused()
{
    if (abandoned_ == nullptr)
        return false;
    ::SetLastError(abandonedError_);
    return true;
}

bool WinInetApi::Run(PendingCall* call)
{
    if (Refused()) {
        call->Release();
        return false;
    }
    if (deadlineMs_ == 0) {
        call->Release();
        ::SetLastError(ERROR_INTERNET_TIMEOUT);
        return false;
    }
    if (!RunWithDeadline(thread_, call, deadlineMs_, cancelEvent_)) {
        abandoned_ = call;
        const bool cancelled = cancelEvent_ != nullptr && WaitForSingleObject(cancelEvent_, 0) == WAIT_OBJECT_0;
        abandonedError_ = cancelled ? ERROR_CANCELLED : ERROR_INTERNET_TIMEOUT;
        ::SetLastError(abandonedError_);
        return false;
    }
    haveResponse_ = true;
    responseError_ = call->responseError;
    responseText_.assign(call->responseText, call->responseLength < sizeof(call->responseText)
                                                 ? call->responseLength
                                                 : sizeof(call->responseText) - 1);
    return true;
}

bool WinInetApi::HttpSendRequestA(NetHandle request, const char* headers, uint32_t headersLength, void* optional,
                                  uint32_t optionalLength)
{
    auto* call = new SendRequest;
    call->request = request;
    call->hasHeaders = headers != nullptr;
    if (headers != nullptr)
        call->headers = headersLength == wininet::kHeadersTerminated ? std::string(headers)
                                                                     : std::string(headers, headersLength);
    call->hasBody = optional != nullptr;
    if (optional != nullptr)
        call->body.assign(static_cast<const char*>(optional), optionalLength);
    return Run(call) && Finish(call);
}

bool WinInetApi::HttpSendRequestExA(NetHandle request, uint32_t bodyTotal, uint32_t flags, uintptr_t context)
{
    auto* call = new SendRequestEx;
    call->request = request;
    call->buffers.dwStructSize = sizeof(call->buffers);
    call->buffers.dwBufferTotal = bodyTotal;
    call->flags = flags;
    call->context = context;
    return Run(call) && Finish(call);
}

bool WinInetApi::InternetWriteFile(NetHandle request, const void* buffer, uint32_t length, uint32_t* written)
{
    *written = 0;
    auto* call = new WriteBlock;
    call->request = request;
    call->block.assign(static_cast<const char*>(buffer), length);
    if (!Run(call))
        return false;
    *written = call->written < length ? call->written : length;
    return Finish(call);
}

bool WinInetApi::HttpEndRequestA(NetHandle request, uint32_t flags, uintptr_t context)
{
    auto* call = new EndRequest;
    call->request = request;
    call->flags = flags;
    call->context = context;
    return Run(call) && Finish(call);
}

// Windows keeps the response information per thread: after a call made on
// a thread of its own, it is the one that thread read.
bool WinInetApi::InternetGetLastResponseInfoA(uint32_t* error, char* buffer, uint32_t* length)
{
    if (Refused())
        return false;
    if (!haveResponse_) {
        DWORD code = 0;
        DWORD size = *length;
        const BOOL ok = ::InternetGetLastResponseInfoA(&code, buffer, &size);
        *error = code;
        *length = size;
        return ok != FALSE;
    }
    *error = responseError_;
    if (responseText_.size() + 1 > *length) {
        *length = static_cast<uint32_t>(responseText_.size() + 1);
        ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return false;
    }
    memcpy(buffer, responseText_.c_str(), responseText_.size() + 1);
    *length = static_cast<uint32_t>(responseText_.size());
    return true;
}

bool WinInetApi::HttpQueryInfoA(NetHandle request, uint32_t infoLevel, void* buffer, uint32_t* length,
                                uint32_t* index)
{
    if (Refused())
        return false;
    DWORD size = *length;
    DWORD position = index ? *index : 0;
    const BOOL ok = ::HttpQueryInfoA(request, infoLevel, buffer, &size, index ? &position : nullptr);
    *length = size;
    if (index)
        *index = position;
    return ok != FALSE;
}

bool WinInetApi::InternetReadFile(NetHandle request, void* buffer, uint32_t toRead, uint32_t* read)
{
    *read = 0;
    auto* call = new ReadBlock;
    call->request = request;
    call->block.resize(toRead);
    if (!Run(call))
        return false;
    *read = call->read < toRead ? call->read : toRead;
    memcpy(buffer, call->block.data(), *read);
    return Finish(call);
}

// After a call was abandoned, its handles go to it, to be closed once it
// has returned.
bool WinInetApi::InternetCloseHandle(NetHandle handle)
{
    if (abandoned_ != nullptr) {
        abandoned_->CloseAfterCall(handle);
        return true;
    }
    return ::InternetCloseHandle(handle) != FALSE;
}

uint32_t WinInetApi::GetLastError()
{
    return ::GetLastError();
}
