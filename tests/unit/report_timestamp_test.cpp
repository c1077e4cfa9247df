#include "report/report_timestamp.h"

#include <gtest/gtest.h>

TEST(ReportTimestamp_Texts, ZoneTextAndDateTemplates)
{
    const uint32_t standard = 1, daylight = 2;
    const std::pair<TimeZoneFacts, const char*> cases[] = {
        {{daylight, 300, "Eastern Standard Time", "Eastern Daylight Time"}, "EDT"},
        {{standard, 300, "Eastern Standard Time", "Eastern Daylight Time"}, "EST"},
        // Outside the table the standard bias alone, summer and winter alike, with its own sign.
        {{daylight, -60, "W. Europe Standard Time", "W. Europe Daylight Time"}, "(GMT -0100"},
        {{standard, -330, "India Standard Time", ""}, "(GMT -0530"},
        // The daylight name counts only while daylight time is in force.
        {{standard, 300, "Somewhere", "Eastern Daylight Time"}, "(GMT +0500"},
    };
    for (const auto& [facts, text] : cases)
        EXPECT_EQ(FormatTimeZoneText(facts, 64), text) << facts.standardNameUtf8 << ' ' << facts.zoneId;

    const ReportTimestamp stamp = {{2024, 7, 1, 9, 5, 3}, "EDT"};
    EXPECT_EQ(FormatHtmlReportDate(stamp), "2024-07-01 09:05:03 EDT\n");
    EXPECT_EQ(FormatPrintedReportDate(stamp), "Report Date:        2024-07-01 09:05:03 EDT");
}
