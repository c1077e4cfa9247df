#include "checks/local/operating_system.h"
#include "graded.h"

#include <gtest/gtest.h>

TEST(OperatingSystem_Grade, ReleasesArchitecturesAndInstallDates)
{
    const char* const supported = "Windows 7/8/10 (32-bit or 64-bit) is supported.\n";
    const char* const required = "Windows 7/8/10 Required (32-bit or 64-bit).\n";
    const std::tuple<OperatingSystemFacts, char, const char*, const char*> cases[] = {
        {{25, "Windows 7", "SP1.0", 9, 951782400}, 'A', "Windows 7, SP1.0 (64-bit) (2000-02-29)", supported},
        {{28, "Windows 8", "SP0.0", 10, {}}, 'A', "Windows 8, SP0.0 (64-bit)", supported},
        {{25, "Windows 7", "SP1.0", 5, {}}, 'A', "Windows 7, SP1.0", supported},
        {{24, "Windows Vista", "SP2.0", 0, -1}, 'F', "Windows Vista, SP2.0 (32-bit) (1969-12-31)", required},
        {{18, "Windows XP Professional", "SP3.0", 0, {}}, 'F', "Windows XP Professional, SP3.0 (32-bit)", required},
        {{16, "Windows XP Unknown", "SP2.0", 9, 1201737600}, 'F',
         "Windows XP Unknown, SP2.0 (64-bit) (64 Bit XP) (2008-01-31)",
         "64-bit Windows XP not supported.\nWindows 7/8/10 Required (32-bit or 64-bit).\n"},
        {{25, "Windows 7", "SP1.0", 6, 1400000000}, 'F', "Windows 7, SP1.0 (Itanium 64 Bit OS)",
         "64-bit Itanium CPU not supported.\n"},
        {{0, "", "SP0.0", 9, INT32_MIN}, 'F', ", SP0.0 (64-bit) (1901-12-13)", required},
        {{29, "", "SP0.0", 0, INT32_MAX}, 'F', ", SP0.0 (32-bit) (2038-01-19)",
         "Unable to determine operating system version.\n"},
    };
    for (const auto& [facts, status, summary, details] : cases)
        EXPECT_EQ(Graded(GradeOperatingSystem, facts), Record(status, summary, details));
}
