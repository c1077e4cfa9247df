#include "checks/network/wininet_calls_win32.h"

#include "checks/network/call_deadline_win32.h"

#include <windows.h>
#include <wininet.h>

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
    return ::InternetConnectA(internet, host, port, user, password, service, flags, context);
}

NetHandle WinInetApi::HttpOpenRequestA(NetHandle connection, const char* verb, const char* objectName,
                                       const char* version, const char* referrer, const char* const* acceptTypes,
                                       uint32_t flags, uintptr_t context)
{
    NetHandle request = ::HttpOpenRequestA(connection, verb, objectName, version, referrer,
                                           const_cast<LPCSTR*>(acceptTypes), flags, context);
    // Windows hands the Internet handle's time-outs down to its requests;
    // some WinINet builds honour them only where they are set on the request.
    if (request != nullptr) {
        const DWORD error = ::GetLastError();
        SetWindowsDefaultTimeouts(*this, request);
        ::SetLastError(error);
    }
    return request;
}

bool WinInetApi::InternetQueryOptionA(NetHandle handle, uint32_t option, void* buffer, uint32_t* length)
{
    DWORD size = *length;
    const BOOL ok = ::InternetQueryOptionA(handle, option, buffer, &size);
    *length = size;
    return ok != FALSE;
}

bool WinInetApi::InternetSetOptionA(NetHandle handle, uint32_t option, void* buffer, uint32_t length)
{
    return ::InternetSetOptionA(handle, option, buffer, length) != FALSE;
}

bool WinInetApi::HttpAddRequestHeadersA(NetHandle request, const char* headers, uint32_t length, uint32_t modifiers)
{
    return ::HttpAddRequestHeadersA(request, headers, length, modifiers) != FALSE;
}

// The two calls that open the connection and make the TLS handshake run with
// a deadline (call_deadline_win32.h). What they read goes with them, so that
// an abandoned call never reads the caller's memory: the checks send no
// headers and no body with them.
bool WinInetApi::HttpSendRequestA(NetHandle request, const char* headers, uint32_t headersLength, void* optional,
                                  uint32_t optionalLength)
{
    if (headers != nullptr || optional != nullptr)
        return ::HttpSendRequestA(request, headers, headersLength, optional, optionalLength) != FALSE;
    auto send = [](void* argument) { return ::HttpSendRequestA(*static_cast<HINTERNET*>(argument), nullptr, 0, nullptr, 0); };
    return RunWithDeadline(send, &request, sizeof(request), kSendRequestDeadlineMs) != FALSE;
}

bool WinInetApi::HttpSendRequestExA(NetHandle request, uint32_t bodyTotal, uint32_t flags, uintptr_t context)
{
    struct Arguments {
        HINTERNET request;
        INTERNET_BUFFERSA buffers;
        DWORD flags;
        DWORD_PTR context;
    } arguments = {request, {}, flags, context};
    arguments.buffers.dwStructSize = sizeof(arguments.buffers);
    arguments.buffers.dwBufferTotal = bodyTotal;
    auto send = [](void* argument) {
        Arguments& a = *static_cast<Arguments*>(argument);
        return ::HttpSendRequestExA(a.request, &a.buffers, nullptr, a.flags, a.context);
    };
    return RunWithDeadline(send, &arguments, sizeof(arguments), kSendRequestDeadlineMs) != FALSE;
}

bool WinInetApi::InternetWriteFile(NetHandle request, const void* buffer, uint32_t length, uint32_t* written)
{
    DWORD count = 0;
    const BOOL ok = ::InternetWriteFile(request, buffer, length, &count);
    *written = count;
    return ok != FALSE;
}

bool WinInetApi::HttpEndRequestA(NetHandle request, uint32_t flags, uintptr_t context)
{
    return ::HttpEndRequestA(request, nullptr, flags, context) != FALSE;
}

bool WinInetApi::InternetGetLastResponseInfoA(uint32_t* error, char* buffer, uint32_t* length)
{
    DWORD code = 0;
    DWORD size = *length;
    const BOOL ok = ::InternetGetLastResponseInfoA(&code, buffer, &size);
    *error = code;
    *length = size;
    return ok != FALSE;
}

bool WinInetApi::HttpQueryInfoA(NetHandle request, uint32_t infoLevel, void* buffer, uint32_t* length,
                                uint32_t* index)
{
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
    DWORD count = 0;
    const BOOL ok = ::InternetReadFile(request, buffer, toRead, &count);
    *read = count;
    return ok != FALSE;
}

bool WinInetApi::InternetCloseHandle(NetHandle handle)
{
    return ::InternetCloseHandle(handle) != FALSE;
}

uint32_t WinInetApi::GetLastError()
{
    return ::GetLastError();
}
