#include "checks/local/operating_system.h"

#include <gtest/gtest.h>

namespace {

const char* const kSupported = "Windows 7/8/10 (32-bit or 64-bit) is supported.\n";
const char* const kRequired = "Windows 7/8/10 Required (32-bit or 64-bit).\n";
const char* const kXp64 = "64-bit Windows XP not supported.\nWindows 7/8/10 Required (32-bit or 64-bit).\n";

} // namespace

TEST(OperatingSystem_Grade, ReleasesAndArchitectures)
{
    struct Case {
        OperatingSystemFacts facts;
        char status;
        const char* summary;
        const char* details;
    } cases[] = {
        {{25, "Windows 7", "SP1.0", 9, 1400000000}, 'A', "Windows 7, SP1.0 (64-bit) (2014-05-13)", kSupported},
        {{28, "Windows 8", "SP0.0", 10, {}}, 'A', "Windows 8, SP0.0 (64-bit)", kSupported},
        {{26, "", "SP0.0", 0, {}}, 'A', ", SP0.0 (32-bit)", kSupported},
        {{24, "Windows Vista", "SP2.0", 0, {}}, 'F', "Windows Vista, SP2.0 (32-bit)", kRequired},
        {{19, "Windows 2003", "SP2.0", 9, 1201737600}, 'F', "Windows 2003, SP2.0 (64-bit) (2008-01-31)", kRequired},
        {{18, "Windows XP Professional", "SP3.0", 0, 1201737600}, 'F',
         "Windows XP Professional, SP3.0 (32-bit) (2008-01-31)", kRequired},
        {{18, "Windows XP Professional", "SP2.0", 9, 1201737600}, 'F',
         "Windows XP Professional, SP2.0 (64-bit) (64 Bit XP) (2008-01-31)", kXp64},
        {{17, "Windows XP Home", "SP1.0", 5, {}}, 'F', "Windows XP Home, SP1.0 (64 Bit XP)", kXp64},
        {{25, "Windows 7", "SP1.0", 6, 1400000000}, 'F', "Windows 7, SP1.0 (Itanium 64 Bit OS)",
         "64-bit Itanium CPU not supported.\n"},
        {{0, "", "SP0.0", 9, {}}, 'F', ", SP0.0 (64-bit)", kRequired},
        {{29, "", "SP0.0", 0, {}}, 'F', ", SP0.0 (32-bit)", "Unable to determine operating system version.\n"},
        {{25, "Windows 7", "SP1.0", 5, {}}, 'A', "Windows 7, SP1.0", kSupported},
    };
    for (const Case& c : cases) {
        TestResult result;
        GradeOperatingSystem(c.facts, result);
        EXPECT_EQ(result.status, c.status) << c.summary;
        EXPECT_EQ(result.summary, c.summary);
        EXPECT_EQ(result.details, c.details) << c.summary;
    }
}

TEST(OperatingSystem_Grade, InstallDateIsTheUtcDate)
{
    const std::pair<int32_t, const char*> cases[] = {
        {0, "1970-01-01"},          {86399, "1970-01-01"},          {951782400, "2000-02-29"},
        {-1, "1969-12-31"},         {INT32_MIN, "1901-12-13"},      {INT32_MAX, "2038-01-19"},
    };
    for (const auto& [seconds, date] : cases) {
        TestResult result;
        GradeOperatingSystem({25, "Windows 7", "SP1.0", 9, seconds}, result);
        EXPECT_EQ(result.summary, std::string("Windows 7, SP1.0 (64-bit) (") + date + ")") << seconds;
    }
}
