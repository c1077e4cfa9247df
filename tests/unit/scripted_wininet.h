// Scripted doubles of the WinINet calls and the benchmark's controls: every
// call is logged, any call can be made to fail with any error number, and the
// reply (status, headers, body) and the clock are set by the test.
#pragma once

#include "checks/network/upload_benchmark.h"
#include "checks/network/wininet_calls.h"

#include <cstring>
#include <deque>
#include <map>
#include <string>
#include <vector>

class ScriptedWinInet : public WinInetCalls {
public:
    // Calls by name; the n-th call of a name (counting from 1) fails with the
    // error when failures[{name, n}] is set, every call when n is 0.
    std::map<std::pair<std::string, int>, uint32_t> failures;
    // HttpEndRequestA's outcomes in turn (0: success); success once used up.
    std::deque<uint32_t> endRequestErrors;
    uint32_t responseError = 0;
    std::string statusText = "200";
    bool hasContentType = true;
    std::string contentType = "text/plain";
    bool hasContentLength = true;
    std::string contentLength;  // empty: the body's length
    std::string body = "OK 198.51.100.7\r\n";
    uint32_t readChunk = 5;           // reply bytes handed out per read
    uint32_t writeLimit = 0xFFFFFFFF; // body bytes taken per write
    uint32_t securityFlags = 0x3000;

    std::vector<std::string> log;         // call names in order
    std::vector<std::string> headers;     // HttpAddRequestHeadersA texts
    std::vector<NetHandle> closed;
    std::string uploaded;                 // body bytes written in the last attempt
    int attempts = 0;                     // HttpSendRequestExA calls
    uint32_t announcedTotal = 0;
    uint32_t setSecurityFlags = 0;
    std::string openAgent, connectHost, verb, objectName, version, referrer;
    std::vector<std::string> acceptTypes;
    uint16_t connectPort = 0;
    uint32_t openAccessType = 99, openFlags = 99, connectService = 0, connectFlags = 0, requestFlags = 0;
    uint32_t sendExFlags = 0, endFlags = 0;

    static NetHandle Handle(uintptr_t n) { return reinterpret_cast<NetHandle>(n); }

    int Count(const std::string& name) const
    {
        int n = 0;
        for (const auto& call : log)
            n += call == name;
        return n;
    }

    NetHandle InternetOpenA(const char* agent, uint32_t accessType, const char* proxy, const char* bypass,
                            uint32_t flags) override
    {
        openAgent = agent;
        openAccessType = accessType;
        openFlags = flags + (proxy ? 1000 : 0) + (bypass ? 1000 : 0);
        return Fails("InternetOpenA") ? nullptr : Handle(1);
    }
    NetHandle InternetConnectA(NetHandle internet, const char* host, uint16_t port, const char* user,
                               const char* password, uint32_t service, uint32_t flags, uintptr_t) override
    {
        connectHost = host;
        connectPort = port;
        connectService = service + (user ? 1000 : 0) + (password ? 1000 : 0) + (internet == Handle(1) ? 0 : 5000);
        connectFlags = flags;
        return Fails("InternetConnectA") ? nullptr : Handle(2);
    }
    NetHandle HttpOpenRequestA(NetHandle connection, const char* v, const char* object, const char* ver,
                               const char* ref, const char* const* accept, uint32_t flags, uintptr_t) override
    {
        verb = v;
        objectName = object;
        version = ver;
        referrer = ref ? ref : "(null)";
        acceptTypes.clear();
        for (; accept && *accept; ++accept)
            acceptTypes.push_back(*accept);
        requestFlags = flags + (connection == Handle(2) ? 0 : 1);
        return Fails("HttpOpenRequestA") ? nullptr : Handle(3);
    }
    bool InternetQueryOptionA(NetHandle, uint32_t option, void* buffer, uint32_t* length) override
    {
        if (Fails("InternetQueryOptionA") || option != wininet::kOptionSecurityFlags || *length != 4)
            return false;
        std::memcpy(buffer, &securityFlags, 4);
        return true;
    }
    bool InternetSetOptionA(NetHandle, uint32_t option, void* buffer, uint32_t length) override
    {
        if (option == wininet::kOptionSecurityFlags && length == 4)
            std::memcpy(&setSecurityFlags, buffer, 4);
        return !Fails("InternetSetOptionA");
    }
    bool HttpAddRequestHeadersA(NetHandle, const char* text, uint32_t length, uint32_t modifiers) override
    {
        headers.push_back(text);
        if (length != wininet::kHeadersTerminated || modifiers != wininet::kAddReqCoalesceWithComma)
            headers.back() += " (bad arguments)";
        return !Fails("HttpAddRequestHeadersA");
    }
    bool HttpSendRequestA(NetHandle, const char* extra, uint32_t extraLength, void* optional,
                          uint32_t optionalLength) override
    {
        if (extra || extraLength || optional || optionalLength)
            log.push_back("(bad arguments)");
        return !Fails("HttpSendRequestA");
    }
    bool HttpSendRequestExA(NetHandle, uint32_t bodyTotal, uint32_t flags, uintptr_t) override
    {
        ++attempts;
        uploaded.clear();
        announcedTotal = bodyTotal;
        sendExFlags = flags;
        return !Fails("HttpSendRequestExA");
    }
    bool InternetWriteFile(NetHandle, const void* buffer, uint32_t length, uint32_t* written) override
    {
        if (Fails("InternetWriteFile")) {
            *written = 0;
            return false;
        }
        *written = length < writeLimit ? length : writeLimit;
        uploaded.append(static_cast<const char*>(buffer), *written);
        return true;
    }
    bool HttpEndRequestA(NetHandle, uint32_t flags, uintptr_t) override
    {
        endFlags = flags;
        if (Fails("HttpEndRequestA"))
            return false;
        if (endRequestErrors.empty())
            return true;
        const uint32_t error = endRequestErrors.front();
        endRequestErrors.pop_front();
        lastError_ = error;
        return error == 0;
    }
    bool InternetGetLastResponseInfoA(uint32_t* error, char* buffer, uint32_t* length) override
    {
        if (Fails("InternetGetLastResponseInfoA"))
            return false;
        *error = responseError;
        if (*length > 0)
            buffer[0] = '\0';
        *length = 0;
        return true;
    }
    bool HttpQueryInfoA(NetHandle, uint32_t level, void* buffer, uint32_t* length, uint32_t* index) override
    {
        const std::string name = "HttpQueryInfoA(" + std::to_string(level) + ")";
        log.push_back(name);
        if (index != nullptr || Fails(name, false))
            return false;
        std::string value;
        if (level == wininet::kQueryStatusCode) {
            value = statusText;
        } else if (level == wininet::kQueryContentType && hasContentType) {
            value = contentType;
        } else if (level == wininet::kQueryContentLength && hasContentLength) {
            value = contentLength.empty() ? std::to_string(body.size()) : contentLength;
        } else {
            lastError_ = 12150;  // ERROR_HTTP_HEADER_NOT_FOUND
            return false;
        }
        if (value.size() + 1 > *length) {
            lastError_ = 122;  // ERROR_INSUFFICIENT_BUFFER
            return false;
        }
        std::memcpy(buffer, value.c_str(), value.size() + 1);
        *length = static_cast<uint32_t>(value.size());
        return true;
    }
    bool InternetReadFile(NetHandle, void* buffer, uint32_t toRead, uint32_t* read) override
    {
        readRequests.push_back(toRead);
        if (Fails("InternetReadFile"))
            return false;
        uint32_t n = static_cast<uint32_t>(body.size() - bodyOffset_);
        n = n < readChunk ? n : readChunk;
        n = n < toRead ? n : toRead;
        std::memcpy(buffer, body.data() + bodyOffset_, n);
        bodyOffset_ += n;
        *read = n;
        return true;
    }
    bool InternetCloseHandle(NetHandle handle) override
    {
        closed.push_back(handle);
        return true;
    }
    uint32_t GetLastError() override { return lastError_; }

    std::vector<uint32_t> readRequests;

private:
    bool Fails(const std::string& name, bool logIt = true)
    {
        if (logIt)
            log.push_back(name);
        const int n = Count(name);
        for (int key : {n, 0}) {
            auto it = failures.find({name, key});
            if (it != failures.end()) {
                lastError_ = it->second;
                return true;
            }
        }
        return false;
    }

    uint32_t lastError_ = 0;
    size_t bodyOffset_ = 0;
};

class ScriptedControls : public BenchmarkControls {
public:
    std::deque<uint32_t> ticks{1000, 3950};  // the last one repeats
    int cancelAtPoll = 0;                    // the n-th poll (from 1) finds Cancel; 0: never
    int polls = 0;
    std::vector<std::string> labels;
    std::vector<std::string> buttonTexts;
    std::vector<std::string> errorBoxes;
    std::vector<std::string> bar;  // "range 0-N", "pos N"
    std::string uuid = "0f1e2d3c-4b5a-6978-8796-a5b4c3d2e1f0";

    uint32_t GetTickCount() override
    {
        const uint32_t t = ticks.front();
        if (ticks.size() > 1)
            ticks.pop_front();
        return t;
    }
    bool IsBenchmarkCancelled() override
    {
        ++polls;
        return cancelAtPoll != 0 && polls >= cancelAtPoll;
    }
    void SetBarRange(uint32_t low, uint32_t high) override
    {
        bar.push_back("range " + std::to_string(low) + "-" + std::to_string(high));
    }
    void SetBarPosition(uint32_t position) override { bar.push_back("pos " + std::to_string(position)); }
    void SetLabelText(const char* text) override { labels.push_back(text); }
    void SetCancelButtonText(const char* text) override { buttonTexts.push_back(text); }
    void ShowLastErrorBox(const char* stepLabel) override { errorBoxes.push_back(stepLabel); }
    std::string MakeMultipartBoundary() override { return "0000----" + uuid; }
};
