// Scripted WinINet calls (logged, any can fail with any error number, the reply
// set by the test) and benchmark controls (a clock that moves with the calls).
#pragma once

#include "checks/network/upload_benchmark.h"
#include "checks/network/wininet_calls.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

class ScriptedWinInet : public WinInetCalls {
public:
    // failures[{name, n}]: the n-th call of that name (from 1) fails with the error; n = 0: every call does.
    std::map<std::pair<std::string, int>, uint32_t> failures;
    uint32_t responseError = 0;
    std::string statusText = "200";
    std::string contentLength;  // empty: the body's length
    std::string body = "OK 198.51.100.7\r\n";
    uint32_t readChunk = 5;            // reply bytes handed out per read
    bool endlessBody = false;          // the body starts again where it ends, for ever
    uint32_t writeLimit = 0xFFFFFFFF;  // body bytes taken per write
    std::string slowCall;              // each call of this name takes a second, the others a millisecond
    bool cancelled = false;            // a call failed with 1223: Cancel ended its wait

    std::vector<std::string> log, headers;
    std::map<uint32_t, uint32_t> options;  // the 4-byte options last set
    std::vector<uint32_t> deadlines;       // every deadline set, in order
    size_t opened = 0, closed = 0;
    std::string uploaded;  // the body bytes of the last attempt

    int Count(const std::string& name) { return counts_[name]; }

    NetHandle InternetOpenA(const char*, uint32_t, const char*, const char*, uint32_t) override
    { return Open("InternetOpenA"); }
    NetHandle InternetConnectA(NetHandle, const char*, uint16_t, const char*, const char*, uint32_t, uint32_t,
                               uintptr_t) override { return Open("InternetConnectA"); }
    NetHandle HttpOpenRequestA(NetHandle, const char*, const char*, const char*, const char*, const char* const*,
                               uint32_t, uintptr_t) override { return Open("HttpOpenRequestA"); }
    bool InternetQueryOptionA(NetHandle, uint32_t, void*, uint32_t*) override { return false; }
    bool InternetSetOptionA(NetHandle, uint32_t option, void* value, uint32_t length) override
    {
        if (length == 4)
            options[option] = *static_cast<uint32_t*>(value);
        return true;
    }
    bool HttpAddRequestHeadersA(NetHandle, const char* text, uint32_t, uint32_t) override
    { return headers.push_back(text), !Fails("HttpAddRequestHeadersA"); }
    bool HttpSendRequestA(NetHandle, const char*, uint32_t, void*, uint32_t) override
    { return !Waits("HttpSendRequestA"); }
    bool HttpSendRequestExA(NetHandle, uint32_t, uint32_t, uintptr_t) override
    { return uploaded.clear(), !Waits("HttpSendRequestExA"); }
    bool InternetWriteFile(NetHandle, const void* buffer, uint32_t length, uint32_t* written) override
    {
        const bool ok = !Waits("InternetWriteFile");
        *written = ok ? std::min(length, writeLimit) : 0;
        uploaded.append(static_cast<const char*>(buffer), *written);
        return ok;
    }
    bool HttpEndRequestA(NetHandle, uint32_t, uintptr_t) override { return !Waits("HttpEndRequestA"); }
    bool InternetGetLastResponseInfoA(uint32_t* error, char*, uint32_t*) override
    { return *error = responseError, !Fails("InternetGetLastResponseInfoA"); }
    bool HttpQueryInfoA(NetHandle, uint32_t level, void* buffer, uint32_t* length, uint32_t*) override
    {
        // Any header but the status is answered with the reply's length.
        const std::string value = level == wininet::kQueryStatusCode ? statusText
                                  : contentLength.empty()            ? std::to_string(body.size())
                                                                     : contentLength;
        std::memcpy(buffer, value.c_str(), std::min<size_t>(value.size() + 1, *length));
        return !Fails("HttpQueryInfoA(" + std::to_string(level) + ")");
    }
    bool InternetReadFile(NetHandle, void* buffer, uint32_t toRead, uint32_t* read) override
    {
        *read = 0;
        if (deadline_ == 0)
            return !Waits("InternetReadFile");
        if (endlessBody && bodyOffset_ == body.size())
            bodyOffset_ = 0;
        *read = std::min({static_cast<uint32_t>(body.size() - bodyOffset_), readChunk, toRead});
        std::memcpy(buffer, body.data() + bodyOffset_, *read);
        bodyOffset_ += *read;
        return !Fails("InternetReadFile");
    }
    bool InternetCloseHandle(NetHandle) override { return ++closed; }
    uint32_t GetLastError() override { return lastError_; }
    void SetCallDeadline(uint32_t milliseconds) override { deadlines.push_back(deadline_ = milliseconds); }
    uint32_t GetTickCount() override { return 1000 + static_cast<uint32_t>(log.size()) + 999 * counts_[slowCall]; }

private:
    NetHandle Open(const char* name) { return Fails(name) ? nullptr : (++opened, this); }
    // A call that waits on the host: with no time left it is not made.
    bool Waits(const std::string& name)
    {
        if (deadline_ != 0)
            return Fails(name);
        lastError_ = wininet::kErrorTimeout;
        return true;
    }
    bool Fails(const std::string& name)
    {
        log.push_back(name);
        auto it = failures.find({name, ++counts_[name]});
        it = it != failures.end() ? it : failures.find({name, 0});
        // A call that succeeds may leave any last error; here, none.
        lastError_ = it != failures.end() ? it->second : 0;
        cancelled = cancelled || lastError_ == 1223;
        return it != failures.end();
    }

    std::map<std::string, int> counts_;
    uint32_t lastError_ = 0;
    uint32_t deadline_ = 0xFFFFFFFF;
    size_t bodyOffset_ = 0;
};

class ScriptedControls : public BenchmarkControls {
public:
    int cancelAtPoll = 0;  // the n-th poll (from 1) finds Cancel; 0: never
    int polls = 0;
    std::vector<std::string> labels, buttonTexts, errorBoxes;  // a box: "step label: error number"
    // The clock reads 1,000 ms and one more for each call made on `net`, so
    // that reading it one call early or late shows in the time.
    const ScriptedWinInet* net = nullptr;

    uint32_t GetTickCount() override { return 1000 + (net ? static_cast<uint32_t>(net->log.size()) : 0); }
    bool IsBenchmarkCancelled() override
    { return (++polls >= cancelAtPoll && cancelAtPoll != 0) || (net && net->cancelled); }
    void SetBarRange(uint32_t, uint32_t) override {}
    void SetBarPosition(uint32_t) override {}
    void SetLabelText(const char* text) override { labels.push_back(text); }
    void SetCancelButtonText(const char* text) override { buttonTexts.push_back(text); }
    void ShowErrorBox(const char* stepLabel, uint32_t error) override
    { errorBoxes.push_back(stepLabel + (": " + std::to_string(error))); }
    std::string MakeMultipartBoundary() override { return "0000----0f1e2d3c-4b5a-6978-8796-a5b4c3d2e1f0"; }
};
