#include "checks/network/network_speed.h"
#include "checks/network/public_ip_address.h"

#include <gtest/gtest.h>

namespace {

TEST(NetworkSpeed_Grade, LettersAndSummaries)
{
    const struct { NetworkSpeedFacts facts; TestStatus status; const char* summary; } cases[] = {
        // 553,184 bytes in 2,950 ms: 187,520 bytes/s, above the mark; in
        // 2,951 ms: 187,456, below it, though both read the same.
        {{true, true, {}, 553184, 2950}, 'A', "Upload rate: 1.50 M bits/sec, 122 items/min"},
        {{true, true, {}, 553184, 2951}, 'F', "Upload rate: 1.50 M bits/sec, 122 items/min"},
        {{true, true, {}, 187500, 1000}, 'F', "Upload rate: 1.50 M bits/sec, 122 items/min"},
        // Faster than the clock: one millisecond's worth, beyond 32 bits.
        {{true, true, {}, 553184, 0}, 'A', "Upload rate: 4.43 G bits/sec, 360145 items/min"},
        {{false, false, {}, 0, 0}, 'F', "Test skipped, unable to access the Internet."},
        {{true, false, {}, 0, 0}, 'F', "Failed to initialize test."},
        {{true, true, {UploadOutcome::End::Cancelled, 0}, 553184, 10}, 'F', "Test canceled"},
        {{true, true, {UploadOutcome::End::HttpStatus, 404}, 0, 0}, 'F', "Test failed with HTTP error code: 404"},
        {{true, true, {UploadOutcome::End::HttpStatus, 1}, 553184, 10}, 'F', "Test failed with HTTP error code: 1"},
        {{true, true, {UploadOutcome::End::StepFailed, 12029}, 0, 0}, 'F', "Test failed with error code: 12029"},
        // A failure without an error number, after a rate that would pass.
        {{true, true, {UploadOutcome::End::StepFailed, 0}, 553184, 10}, 'F', "Test failed with error code: 0"},
    };
    for (const auto& c : cases) {
        TestResult result;
        result.status = 'A';
        GradeNetworkSpeed(c.facts, result);
        EXPECT_EQ(result.status, c.status) << c.summary;
        EXPECT_EQ(result.summary, c.summary);
        EXPECT_EQ(result.details, "Minimum upload speed is 1.50 M bits/sec.");
    }
}

TEST(PublicIpAddress_Grade, ReportsTheAddressOrThatThereIsNone)
{
    TestResult found, none;
    GradePublicIpAddress("203.0.113.7", found);
    GradePublicIpAddress("", none);
    EXPECT_EQ(found.summary, "203.0.113.7");
    EXPECT_EQ(none.summary, "Unable to determine");
    EXPECT_TRUE(found.status == 'I' && none.status == 'I');
    EXPECT_EQ(none.details, "Informational only.");
}

}  // namespace
