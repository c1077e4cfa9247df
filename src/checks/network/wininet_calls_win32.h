// WinINet itself behind the network checks' call interface: each method
// forwards to the call of the same name; the calls that wait on the host run
// under the deadline the check sets (call_deadline_win32.h).
#pragma once

#include "checks/network/wininet_calls.h"

#include <windows.h>

#include <string>

class CallThread;
class PendingCall;

class WinInetApi : public WinInetCalls {
public:
    // cancelEvent: when set, a call waiting on the host is given up within
    // moments; null where the check cannot be cancelled.
    explicit WinInetApi(HANDLE cancelEvent = nullptr) : cancelEvent_(cancelEvent) {}
    // An abandoned call keeps its share of its record, with the handles
    // closed meanwhile, until it returns.
    ~WinInetApi() override;
    WinInetApi(const WinInetApi&) = delete;
    WinInetApi& operator=(const WinInetApi&) = delete;

    NetHandle InternetOpenA(const char* agent, uint32_t accessType, const char* proxy, const char* proxyBypass,
                            uint32_t flags) override;
    NetHandle InternetConnectA(NetHandle internet, const char* host, uint16_t port, const char* user,
                               const char* password, uint32_t service, uint32_t flags, uintptr_t context) override;
    NetHandle HttpOpenRequestA(NetHandle connection, const char* verb, const char* objectName, const char* version,
                               const char* referrer, const char* const* acceptTypes, uint32_t flags,
                               uintptr_t context) override;
    bool InternetQueryOptionA(NetHandle handle, uint32_t option, void* buffer, uint32_t* length) override;
    bool InternetSetOptionA(NetHandle handle, uint32_t option, void* buffer, uint32_t length) override;
    bool HttpAddRequestHeadersA(NetHandle request, const char* headers, uint32_t length, uint32_t modifiers) override;
    bool HttpSendRequestA(NetHandle request, const char* headers, uint32_t headersLength, void* optional,
                          uint32_t optionalLength) override;
    bool HttpSendRequestExA(NetHandle request, uint32_t bodyTotal, uint32_t flags, uintptr_t context) override;
    bool InternetWriteFile(NetHandle request, const void* buffer, uint32_t length, uint32_t* written) override;
    bool HttpEndRequestA(NetHandle request, uint32_t flags, uintptr_t context) override;
    bool InternetGetLastResponseInfoA(uint32_t* error, char* buffer, uint32_t* length) override;
    bool HttpQueryInfoA(NetHandle request, uint32_t infoLevel, void* buffer, uint32_t* length,
                        uint32_t* index) override;
    bool InternetReadFile(NetHandle request, void* buffer, uint32_t toRead, uint32_t* read) override;
    bool InternetCloseHandle(NetHandle handle) override;
    uint32_t GetLastError() override;
    void SetCallDeadline(uint32_t milliseconds) override { deadlineMs_ = milliseconds; }
    uint32_t GetTickCount() override { return ::GetTickCount(); }

private:
    // Runs the call under the deadline. True when it returned: its results
    // are then in the record, whose share the caller gives up with Finish.
    // False with the last error set when it was refused or given up: the
    // record is then taken care of here.
    bool Run(PendingCall* call);
    // After a call was abandoned nothing more is done on its handles.
    bool Refused();

    HANDLE cancelEvent_;
    DWORD deadlineMs_ = INFINITE;
    CallThread* thread_ = nullptr;  // started with the first call that waits on the host
    PendingCall* abandoned_ = nullptr;
    DWORD abandonedError_ = 0;
    // The last response information of the thread that made the last call
    // that waited on the host.
    bool haveResponse_ = false;
    DWORD responseError_ = 0;
    std::string responseText_;
};
