#include "checks/network/network_speed.h"

#include "app/text_format.h"

bool g_internetReachable = false;
std::string g_publicAddress;

namespace {

constexpr size_t kTextBuffer = 256;

void GradeRate(uint32_t bytesSent, uint32_t uploadMs, TestResult& result)
{
    // 64-bit integers throughout: bytes x 1000 overflows 32 bits. An exchange
    // faster than the clock's tick counts as one millisecond's worth.
    const uint64_t bytes = bytesSent;
    const uint64_t bytesPerSecond = uploadMs == 0 ? bytes * 1000 : bytes * 1000 / uploadMs;
    const uint64_t itemsPerMinute = bytesPerSecond * 60 / kItemBytes;
    result.status = bytesPerSecond > kPassBytesPerSecond ? 'A' : 'F';
    const std::string rate = FormatScaledNumber(static_cast<int64_t>(bytesPerSecond * 8));
    result.summary = FormatBounded(kTextBuffer, "Upload rate: %s bits/sec, %lu items/min", rate.c_str(),
                                   static_cast<unsigned long>(static_cast<uint32_t>(itemsPerMinute)));
}

}  // namespace

void GradeNetworkSpeed(const NetworkSpeedFacts& facts, TestResult& result)
{
    result.status = 'F';
    if (!facts.internetReachable) {
        result.summary = "Test skipped, unable to access the Internet.";
    } else if (!facts.initialized) {
        result.summary = "Failed to initialize test.";
    } else {
        using End = UploadOutcome::End;
        switch (facts.upload.end) {
        case End::Measured:
            GradeRate(facts.bytesSent, facts.uploadMs, result);
            break;
        case End::Cancelled:
            result.summary = "Test canceled";
            break;
        case End::HttpStatus:
            result.summary = FormatBounded(kTextBuffer, "Test failed with HTTP error code: %lu",
                                           static_cast<unsigned long>(facts.upload.number));
            break;
        case End::StepFailed:
            result.summary = FormatBounded(kTextBuffer, "Test failed with error code: %lu",
                                           static_cast<unsigned long>(facts.upload.number));
            break;
        }
    }
    const std::string minimum = FormatScaledNumber(static_cast<int64_t>(kPassBytesPerSecond * 8));
    result.details = FormatBounded(kTextBuffer, "Minimum upload speed is %s bits/sec.", minimum.c_str());
}
