#include "checks/network/network_speed.h"
#include "checks/network/public_ip_address.h"

#include <gtest/gtest.h>

TEST(NetworkSpeed_Grade, LettersAndSummaries)
{
    using End = UploadOutcome::End;
    const struct { NetworkSpeedFacts facts; TestStatus status; const char* summary; } cases[] = {
        // 553,184 bytes in 2,950 ms: 187,520 bytes/s, above the mark; in 2,951 ms: 187,456, below it.
        {{true, true, {}, 553184, 2950}, 'A', "Upload rate: 1.50 M bits/sec, 122 items/min"},
        {{true, true, {}, 553184, 2951}, 'F', "Upload rate: 1.50 M bits/sec, 122 items/min"},
        {{true, true, {}, 187500, 1000}, 'F', "Upload rate: 1.50 M bits/sec, 122 items/min"},
        // Faster than the clock: one millisecond's worth, beyond 32 bits.
        {{true, true, {}, 553184, 0}, 'A', "Upload rate: 4.43 G bits/sec, 360145 items/min"},
        {{false, false, {}, 0, 0}, 'F', "Test skipped, unable to access the Internet."},
        {{true, false, {}, 0, 0}, 'F', "Failed to initialize test."},
        {{true, true, {End::Cancelled, 0}, 553184, 10}, 'F', "Test canceled"},
        {{true, true, {End::HttpStatus, 1}, 553184, 10}, 'F', "Test failed with HTTP error code: 1"},
        // A failure without an error number, after a rate that would pass.
        {{true, true, {End::StepFailed, 0}, 553184, 10}, 'F', "Test failed with error code: 0"},
    };
    const std::string minimum = "Minimum upload speed is 1.50 M bits/sec.";
    for (const auto& c : cases) {
        TestResult result;
        result.status = 'A';  // overwritten on every path
        GradeNetworkSpeed(c.facts, result);
        EXPECT_EQ(std::tie(result.status, result.summary, result.details), std::tie(c.status, c.summary, minimum));
    }
}

TEST(PublicIpAddress_Grade, ReportsTheAddressOrThatThereIsNone)
{
    TestResult found, none;
    GradePublicIpAddress("203.0.113.7", found);
    GradePublicIpAddress("", none);
    EXPECT_EQ(std::tie(found.status, found.summary, none.status, none.summary, none.details),
              std::make_tuple('I', std::string("203.0.113.7"), 'I', std::string("Unable to determine"),
                              std::string("Informational only.")));
}
