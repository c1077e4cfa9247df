#include "report/report_timestamp.h"

#include <gtest/gtest.h>

namespace {

const uint32_t kStandard = 1;
const uint32_t kDaylight = 2;
const uint32_t kUnknown = 0;
const uint32_t kFailed = 0xFFFFFFFF;

TimeZoneFacts Zone(uint32_t id, int32_t bias, const char* standard, const char* daylight)
{
    TimeZoneFacts facts;
    facts.zoneId = id;
    facts.bias = bias;
    facts.standardNameUtf8 = standard;
    facts.daylightNameUtf8 = daylight;
    return facts;
}

} // namespace

TEST(TimeZoneText_Table, UsZonesBySeason)
{
    struct Case {
        TimeZoneFacts facts;
        const char* text;
    };
    const Case cases[] = {
        {Zone(kDaylight, 300, "Eastern Standard Time", "Eastern Daylight Time"), "EDT"},
        {Zone(kStandard, 300, "Eastern Standard Time", "Eastern Daylight Time"), "EST"},
        {Zone(kUnknown, 300, "Eastern Standard Time", "Eastern Daylight Time"), "EST"},
        {Zone(kFailed, 300, "Eastern Standard Time", "Eastern Daylight Time"), "EST"},
        {Zone(kDaylight, 360, "Central Standard Time", "Central Daylight Time"), "CDT"},
        {Zone(kStandard, 360, "Central Standard Time", "Central Daylight Time"), "CST"},
        {Zone(kDaylight, 420, "Mountain Standard Time", "Mountain Daylight Time"), "MDT"},
        {Zone(kStandard, 420, "Mountain Standard Time", "Mountain Daylight Time"), "MST"},
        {Zone(kDaylight, 480, "Pacific Standard Time", "Pacific Daylight Time"), "PDT"},
        {Zone(kStandard, 480, "Pacific Standard Time", "Pacific Daylight Time"), "PST"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatTimeZoneText(c.facts, 64), c.text) << c.facts.standardNameUtf8 << ' ' << c.facts.zoneId;
}

TEST(TimeZoneText_Offset, BiasAloneWithItsOwnSignAndNoClosingParenthesis)
{
    struct Case {
        TimeZoneFacts facts;
        const char* text;
    };
    const Case cases[] = {
        // Central Europe: the standard bias in winter and in summer alike.
        {Zone(kStandard, -60, "W. Europe Standard Time", "W. Europe Daylight Time"), "(GMT -0100"},
        {Zone(kDaylight, -60, "W. Europe Standard Time", "W. Europe Daylight Time"), "(GMT -0100"},
        // Bias 300 under a name that is not in the table.
        {Zone(kStandard, 300, "SA Pacific Standard Time", "SA Pacific Daylight Time"), "(GMT +0500"},
        {Zone(kStandard, 180, "E. South America Standard Time", ""), "(GMT +0300"},
        {Zone(kStandard, -330, "India Standard Time", ""), "(GMT -0530"},
        {Zone(kStandard, 0, "GMT Standard Time", "GMT Daylight Time"), "(GMT +0000"},
        {Zone(kStandard, 0, "", ""), "(GMT +0000"},
        // The match is exact and case-sensitive.
        {Zone(kStandard, 300, "eastern standard time", ""), "(GMT +0500"},
        {Zone(kStandard, 300, "Eastern Standard Time ", ""), "(GMT +0500"},
        // The daylight name only counts while daylight time is in force.
        {Zone(kStandard, 300, "Somewhere", "Eastern Daylight Time"), "(GMT +0500"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatTimeZoneText(c.facts, 64), c.text) << c.facts.standardNameUtf8 << ' ' << c.facts.bias;
}

TEST(TimeZoneText_Buffer, CutToTheCallersBuffer)
{
    EXPECT_EQ(FormatTimeZoneText(Zone(kDaylight, 300, "", "Eastern Daylight Time"), 3), "ED");
    EXPECT_EQ(FormatTimeZoneText(Zone(kStandard, -60, "", ""), 6), "(GMT ");
}

TEST(ReportDate_Templates, HtmlCellEndsInLineBreakAndPrintedLineIsPadded)
{
    ReportTimestamp stamp;
    stamp.time = {2024, 7, 1, 9, 5, 3};
    stamp.zoneText = "EDT";
    EXPECT_EQ(FormatHtmlReportDate(stamp), "2024-07-01 09:05:03 EDT\n");
    EXPECT_EQ(FormatPrintedReportDate(stamp), "Report Date:        2024-07-01 09:05:03 EDT");

    // The longest zone text still leaves the HTML date at 31 characters.
    stamp.zoneText = "(GMT -0530";
    EXPECT_EQ(FormatHtmlReportDate(stamp), "2024-07-01 09:05:03 (GMT -0530\n");
    EXPECT_EQ(FormatHtmlReportDate(stamp).size(), 31u);
}
