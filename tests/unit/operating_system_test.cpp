#include "checks/local/operating_system.h"

#include <gtest/gtest.h>

namespace {

struct OsCase {
    const char* label;
    int osCode;
    const char* osName;
    const char* servicePack;
    uint16_t architecture;
    std::optional<int32_t> installDate;
    char status;
    const char* summary;
    const char* details;
};

const char* const kSupported = "Windows 7/8/10 (32-bit or 64-bit) is supported.\n";
const char* const kRequired = "Windows 7/8/10 Required (32-bit or 64-bit).\n";

const OsCase kCases[] = {
    {"Windows7x64", 25, "Windows 7", "SP1.0", 9, 1400000000, 'A', "Windows 7, SP1.0 (64-bit) (2014-05-13)", kSupported},
    {"Windows10AsWindows8", 28, "Windows 8", "SP0.0", 9, std::nullopt, 'A', "Windows 8, SP0.0 (64-bit)", kSupported},
    {"ThirtyTwoBitOnSixtyFour", 25, "Windows 7", "SP1.0", 10, std::nullopt, 'A', "Windows 7, SP1.0 (64-bit)",
     kSupported},
    {"NeverProducedCodes26And27Pass", 26, "", "SP0.0", 0, std::nullopt, 'A', ", SP0.0 (32-bit)", kSupported},
    {"Vista", 24, "Windows Vista", "SP2.0", 0, std::nullopt, 'F', "Windows Vista, SP2.0 (32-bit)", kRequired},
    {"XpX64EditionIsNamed2003", 19, "Windows 2003", "SP2.0", 9, 1201737600, 'F',
     "Windows 2003, SP2.0 (64-bit) (2008-01-31)", kRequired},
    {"XpOnX86", 18, "Windows XP Professional", "SP3.0", 0, 1201737600, 'F',
     "Windows XP Professional, SP3.0 (32-bit) (2008-01-31)", kRequired},
    {"XpOnX64", 18, "Windows XP Professional", "SP2.0", 9, 1201737600, 'F',
     "Windows XP Professional, SP2.0 (64-bit) (64 Bit XP) (2008-01-31)",
     "64-bit Windows XP not supported.\nWindows 7/8/10 Required (32-bit or 64-bit).\n"},
    {"XpHomeOnUnknownArchitecture", 17, "Windows XP Home", "SP1.0", 5, std::nullopt, 'F',
     "Windows XP Home, SP1.0 (64 Bit XP)",
     "64-bit Windows XP not supported.\nWindows 7/8/10 Required (32-bit or 64-bit).\n"},
    {"Itanium", 25, "Windows 7", "SP1.0", 6, 1400000000, 'F', "Windows 7, SP1.0 (Itanium 64 Bit OS)",
     "64-bit Itanium CPU not supported.\n"},
    {"UnrecognisedRelease", 0, "", "SP0.0", 9, std::nullopt, 'F', ", SP0.0 (64-bit)", kRequired},
    {"CodeAboveTheTable", 29, "", "SP0.0", 0, std::nullopt, 'F', ", SP0.0 (32-bit)",
     "Unable to determine operating system version.\n"},
    {"UnknownArchitectureAddsNothing", 25, "Windows 7", "SP1.0", 5, std::nullopt, 'A', "Windows 7, SP1.0",
     kSupported},
    {"InstallDateZero", 25, "Windows 7", "SP1.0", 9, 0, 'A', "Windows 7, SP1.0 (64-bit) (1970-01-01)", kSupported},
    {"InstallDateLastSecondOfADay", 25, "Windows 7", "SP1.0", 9, 86399, 'A',
     "Windows 7, SP1.0 (64-bit) (1970-01-01)", kSupported},
    {"InstallDateLeapDay", 25, "Windows 7", "SP1.0", 9, 951782400, 'A', "Windows 7, SP1.0 (64-bit) (2000-02-29)",
     kSupported},
    {"InstallDateNegativeIsBefore1970", 25, "Windows 7", "SP1.0", 9, -1, 'A',
     "Windows 7, SP1.0 (64-bit) (1969-12-31)", kSupported},
    {"InstallDateSignedMinimum", 25, "Windows 7", "SP1.0", 9, INT32_MIN, 'A',
     "Windows 7, SP1.0 (64-bit) (1901-12-13)", kSupported},
    {"InstallDateSignedMaximum", 25, "Windows 7", "SP1.0", 9, INT32_MAX, 'A',
     "Windows 7, SP1.0 (64-bit) (2038-01-19)", kSupported},
};

} // namespace

TEST(OperatingSystem_Grade, Table)
{
    for (const OsCase& c : kCases) {
        OperatingSystemFacts facts;
        facts.osCode = c.osCode;
        facts.osName = c.osName;
        facts.servicePackText = c.servicePack;
        facts.architecture = c.architecture;
        facts.installDate = c.installDate;
        TestResult result;
        GradeOperatingSystem(facts, result);
        EXPECT_EQ(result.status, c.status) << c.label;
        EXPECT_EQ(result.summary, c.summary) << c.label;
        EXPECT_EQ(result.details, c.details) << c.label;
    }
}
