#include "checks/network/network_speed.h"
#include "checks/network/public_ip_address.h"

#include <gtest/gtest.h>

namespace {

struct GradeCase {
    NetworkSpeedFacts facts;
    TestStatus status;
    const char* summary;
};

TEST(NetworkSpeed_Grade, LettersAndSummaries)
{
    const GradeCase cases[] = {
        // 553,184 bytes in 2,950 ms: 187,520 bytes/s, above the mark.
        {{true, true, 0, 553184, 2950}, 'A', "Upload rate: 1.50 M bits/sec, 122 items/min"},
        // In 2,951 ms: 187,456 bytes/s, below it, though it reads the same.
        {{true, true, 0, 553184, 2951}, 'F', "Upload rate: 1.50 M bits/sec, 122 items/min"},
        // Faster than the clock: one millisecond's worth.
        {{true, true, 0, 553184, 0}, 'A', "Upload rate: 4.43 G bits/sec, 360145 items/min"},
        // Exactly 187,500 bytes/s fails.
        {{true, true, 0, 187500, 1000}, 'F', "Upload rate: 1.50 M bits/sec, 122 items/min"},
        {{true, true, 0, 187501, 1000}, 'A', "Upload rate: 1.50 M bits/sec, 122 items/min"},
        {{true, true, 0, 0, 0}, 'F', "Upload rate: 0 bits/sec, 0 items/min"},
        {{false, false, 0, 0, 0}, 'F', "Test skipped, unable to access the Internet."},
        {{true, false, 0, 0, 0}, 'F', "Failed to initialize test."},
        {{true, true, -1, 553184, 10}, 'F', "Test canceled"},
        {{true, true, -404, 0, 0}, 'F', "Test failed with HTTP error code: 404"},
        {{true, true, -403, 0, 0}, 'F', "Test failed with HTTP error code: 403"},
        {{true, true, 12029, 0, 0}, 'F', "Test failed with error code: 12029"},
    };
    for (const GradeCase& c : cases) {
        TestResult result;
        result.status = 'A';
        GradeNetworkSpeed(c.facts, result);
        EXPECT_EQ(result.status, c.status) << c.summary;
        EXPECT_EQ(result.summary, c.summary);
        EXPECT_EQ(result.details, "Minimum upload speed is 1.50 M bits/sec.");
    }
}

TEST(NetworkSpeed_Grade, LargestCountsStayIn64Bits)
{
    TestResult result;
    GradeNetworkSpeed({true, true, 0, 0xFFFFFFFFu, 1}, result);
    EXPECT_EQ(result.status, 'A');
    EXPECT_EQ(result.summary.rfind("Upload rate: 34359.74 G bits/sec", 0), 0u) << result.summary;
}

TEST(PublicIpAddress_Grade, ReportsTheAddressOrThatThereIsNone)
{
    const std::pair<const char*, const char*> cases[] = {
        {"203.0.113.7", "203.0.113.7"}, {"10.1.2.3", "10.1.2.3"}, {"...", "..."}, {"", "Unable to determine"}};
    for (const auto& [address, summary] : cases) {
        TestResult result;
        GradePublicIpAddress(address, result);
        EXPECT_EQ(result.status, 'I');
        EXPECT_EQ(result.summary, summary);
        EXPECT_EQ(result.details, "Informational only.");
    }
}

}  // namespace
