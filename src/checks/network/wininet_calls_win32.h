// WinINet itself behind the network checks' call interface.
#pragma once

#include "checks/network/wininet_calls.h"

class WinInetApi : public WinInetCalls {
public:
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
};
