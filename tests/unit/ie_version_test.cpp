#include "checks/accounts/ie_version.h"

#include <gtest/gtest.h>

namespace {

const char kMinimumText[] =
    "Minimum Internet Explorer version is 11.0. Internet Explorer version 9.0 & 10.0 will work but is no longer "
    "supported by Microsoft. Internet Explorer components are used to communicate with our servers, independant "
    "of your default browser.";

} // namespace

TEST(IeVersion, SvcVersionDecidesTheLetter)
{
    const struct {
        std::optional<std::string> value;
        TestStatus status;
        const char* summary;
        std::string details;
    } cases[] = {
        {"11.0.9600.18231", 'A', "11.0.9600.18231", kMinimumText},
        {"10.0.9200.16384", 'F', "10.0.9200.16384", kMinimumText},
        {"11", 'A', "11", kMinimumText},  // a number alone, no dot, and a REG_DWORD 11 read as text
        {"9.11.9600.18231", 'F', "9.11.9600.18231", kMinimumText},
        {"12abc", 'A', "12abc", kMinimumText},
        {" 11.0", 'A', " 11.0", kMinimumText},
        {"+11.0", 'A', "+11.0", kMinimumText},
        {"99999999999999999999.0", 'A', "99999999999999999999.0", kMinimumText},
        {"0010.0", 'F', "0010.0", kMinimumText},
        {std::nullopt, 'F', "Unable to determine", "Internet Explorer Registry value is missing."},
        {"abc", 'F', "Unable to determine", "Internet Explorer Registry value is corrupt: abc"},
        {"", 'F', "Unable to determine", "Internet Explorer Registry value is corrupt: "},
        {".11", 'F', "Unable to determine", "Internet Explorer Registry value is corrupt: .11"},
        // "%lu" would turn a minus sign into the largest number and pass it.
        {"-1", 'F', "Unable to determine", "Internet Explorer Registry value is corrupt: -1"},
    };
    for (const auto& c : cases) {
        TestResult result;
        GradeIeVersion({c.value}, result);
        const std::string label = c.value.value_or("(absent)");
        EXPECT_EQ(result.status, c.status) << label;
        EXPECT_EQ(result.summary, c.summary) << label;
        EXPECT_EQ(result.details, c.details) << label;
    }
}

TEST(IeVersion, LeadingNumber)
{
    EXPECT_EQ(ReadLeadingVersionNumber("11.0.9600.18376"), 11u);
    EXPECT_EQ(ReadLeadingVersionNumber("\t\n 7"), 7u);
    EXPECT_EQ(ReadLeadingVersionNumber("4294967295.1"), 4294967295u);
    EXPECT_EQ(ReadLeadingVersionNumber("4294967296"), 4294967295u);
    EXPECT_EQ(ReadLeadingVersionNumber("+"), std::nullopt);
    EXPECT_EQ(ReadLeadingVersionNumber("   "), std::nullopt);
}

TEST(IeVersion, CorruptValueIsCutToTheDetailsBuffer)
{
    TestResult result;
    GradeIeVersion({std::string(400, 'x')}, result);
    EXPECT_EQ(result.details.size(), 255u);
    EXPECT_EQ(result.summary, "Unable to determine");
}
