// The WinINet calls the network checks make, one method per call, so that the
// order of the calls, their arguments and the handling of each failure are
// rules that tests can drive with a scripted double. The Win32 implementation
// (wininet_calls_win32.h) forwards every method to the call of the same name.
#pragma once

#include <cstdint>

// An HINTERNET: null means the call failed.
using NetHandle = void*;

// The values of the WinINet constants these checks pass (the Win32 side
// checks each against the system header at compile time).
namespace wininet {
constexpr uint32_t kOpenTypePreconfig = 0;               // INTERNET_OPEN_TYPE_PRECONFIG
constexpr uint32_t kServiceHttp = 3;                     // INTERNET_SERVICE_HTTP
constexpr uint16_t kDefaultHttpsPort = 443;              // INTERNET_DEFAULT_HTTPS_PORT
constexpr uint32_t kOptionSecurityFlags = 31;            // INTERNET_OPTION_SECURITY_FLAGS
constexpr uint32_t kOptionConnectTimeout = 2;            // INTERNET_OPTION_CONNECT_TIMEOUT
constexpr uint32_t kOptionSendTimeout = 5;               // INTERNET_OPTION_SEND_TIMEOUT
constexpr uint32_t kOptionReceiveTimeout = 6;            // INTERNET_OPTION_RECEIVE_TIMEOUT
constexpr uint32_t kIgnoreUnknownCaAndCn = 0x1100;       // SECURITY_FLAG_IGNORE_UNKNOWN_CA | ..._CERT_CN_INVALID
constexpr uint32_t kFlagSecure = 0x00800000;             // INTERNET_FLAG_SECURE
constexpr uint32_t kAddReqCoalesceWithComma = 0x40000000; // HTTP_ADDREQ_FLAG_COALESCE_WITH_COMMA
constexpr uint32_t kHeadersTerminated = 0xFFFFFFFF;      // header length -1: a terminated text
constexpr uint32_t kQueryContentType = 1;                // HTTP_QUERY_CONTENT_TYPE
constexpr uint32_t kQueryContentLength = 5;              // HTTP_QUERY_CONTENT_LENGTH
constexpr uint32_t kQueryStatusCode = 19;                // HTTP_QUERY_STATUS_CODE
constexpr uint32_t kHsrInitiate = 8;                     // HSR_INITIATE
constexpr uint32_t kErrorForceRetry = 12032;             // ERROR_INTERNET_FORCE_RETRY
constexpr uint32_t kErrorInsufficientBuffer = 122;        // ERROR_INSUFFICIENT_BUFFER
constexpr uint32_t kSchemeHttps = 4;                     // INTERNET_SCHEME_HTTPS
constexpr uint32_t kErrorTimeout = 12002;                // ERROR_INTERNET_TIMEOUT
}  // namespace wininet

class WinInetCalls {
public:
    virtual ~WinInetCalls() = default;

    virtual NetHandle InternetOpenA(const char* agent, uint32_t accessType, const char* proxy,
                                    const char* proxyBypass, uint32_t flags) = 0;
    virtual NetHandle InternetConnectA(NetHandle internet, const char* host, uint16_t port, const char* user,
                                       const char* password, uint32_t service, uint32_t flags,
                                       uintptr_t context) = 0;
    // acceptTypes: a null-terminated list.
    virtual NetHandle HttpOpenRequestA(NetHandle connection, const char* verb, const char* objectName,
                                       const char* version, const char* referrer, const char* const* acceptTypes,
                                       uint32_t flags, uintptr_t context) = 0;
    virtual bool InternetQueryOptionA(NetHandle handle, uint32_t option, void* buffer, uint32_t* length) = 0;
    virtual bool InternetSetOptionA(NetHandle handle, uint32_t option, void* buffer, uint32_t length) = 0;
    virtual bool HttpAddRequestHeadersA(NetHandle request, const char* headers, uint32_t length,
                                        uint32_t modifiers) = 0;
    virtual bool HttpSendRequestA(NetHandle request, const char* headers, uint32_t headersLength, void* optional,
                                  uint32_t optionalLength) = 0;
    // The INTERNET_BUFFERSA passed in has the body's total length as its only
    // field besides its size; no output buffers.
    virtual bool HttpSendRequestExA(NetHandle request, uint32_t bodyTotal, uint32_t flags, uintptr_t context) = 0;
    virtual bool InternetWriteFile(NetHandle request, const void* buffer, uint32_t length, uint32_t* written) = 0;
    // No output buffers.
    virtual bool HttpEndRequestA(NetHandle request, uint32_t flags, uintptr_t context) = 0;
    virtual bool InternetGetLastResponseInfoA(uint32_t* error, char* buffer, uint32_t* length) = 0;
    virtual bool HttpQueryInfoA(NetHandle request, uint32_t infoLevel, void* buffer, uint32_t* length,
                                uint32_t* index) = 0;
    virtual bool InternetReadFile(NetHandle request, void* buffer, uint32_t toRead, uint32_t* read) = 0;
    virtual bool InternetCloseHandle(NetHandle handle) = 0;
    // The calling thread's last error, right after a call failed.
    virtual uint32_t GetLastError() = 0;

    // Each call that waits on the host (the two sends, a write, the end of a
    // request, a read) is given up after this many milliseconds from its
    // start and fails as a time-out (12002); with 0 it fails so at once,
    // without being made. A call given up, or ended by Cancel where the
    // check can be cancelled, leaves its handles to itself: every later call
    // fails the same way, and a handle closed is closed once that call has
    // returned.
    virtual void SetCallDeadline(uint32_t milliseconds) = 0;
    // Milliseconds since the system started (GetTickCount).
    virtual uint32_t GetTickCount() = 0;
};

// Windows' own WinINet defaults, set on the Internet handle and on each
// request so that every system keeps them (Windows hands the Internet
// handle's down to its requests; some WinINet builds honour them only where
// they are set on the request): a connection within 60 s, each send and each
// receive within 30 s.
void SetWindowsDefaultTimeouts(WinInetCalls& net, NetHandle handle);

// A host needs at most a connection and one answer (60 s plus 30 s by those
// defaults) to take a request and reply; a host that trickles a byte at a
// time within each receive time-out would otherwise hold a check for ever.
// So the whole exchange, from the send to the end of the reply, gets this
// much time, and fails as a time-out (12002) once it is spent.
constexpr uint32_t kExchangeBudgetMs = 90000;

class ExchangeBudget {
public:
    // The exchange starts now.
    explicit ExchangeBudget(WinInetCalls& net) : net_(net), start_(net.GetTickCount()) {}
    // It starts again now (a new attempt).
    void Restart() { start_ = net_.GetTickCount(); }
    // Gives the next call what is left of the budget (nothing once it is spent).
    void Arm()
    {
        const uint32_t used = net_.GetTickCount() - start_;
        net_.SetCallDeadline(used < kExchangeBudgetMs ? kExchangeBudgetMs - used : 0);
    }

private:
    WinInetCalls& net_;
    uint32_t start_;
};
