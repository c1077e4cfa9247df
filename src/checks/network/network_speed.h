// Network Speed: the upload benchmark's grading and texts, and the two values
// it shares with the checks around it.
#pragma once

#include "app/test_result.h"
#include "checks/network/upload_benchmark.h"

#include <cstdint>
#include <string>

// Set by the Internet Access check at its end (true unless it failed); the
// benchmark is skipped when it is false.
extern bool g_internetReachable;
// The address the benchmark service saw, at most 63 characters of digits and
// full stops; emptied by every transfer.
extern std::string g_publicAddress;

constexpr uint32_t kBenchmarkPayloadSize = 552960;
constexpr uint64_t kPassBytesPerSecond = 187500;
constexpr uint64_t kItemBytes = 92160;

struct NetworkSpeedFacts {
    bool internetReachable = false;
    bool initialized = false;  // the payload, the service address and the controls were ready
    UploadOutcome upload;      // RunUploadBenchmark's result
    uint32_t bytesSent = 0;
    uint32_t uploadMs = 0;
};

void GradeNetworkSpeed(const NetworkSpeedFacts& facts, TestResult& result);

void CheckNetworkSpeed(TestResult& result);
