#include "report/report_timestamp.h"

#include "app/text_format.h"

namespace {

struct ZoneAbbreviation {
    const char* name;
    const char* text;
};

// Only the US zones have a short name; every other zone shows its offset.
const ZoneAbbreviation kZoneAbbreviations[] = {
    {"Pacific Daylight Time", "PDT"},  {"Pacific Standard Time", "PST"},
    {"Mountain Daylight Time", "MDT"}, {"Mountain Standard Time", "MST"},
    {"Central Daylight Time", "CDT"},  {"Central Standard Time", "CST"},
    {"Eastern Daylight Time", "EDT"},  {"Eastern Standard Time", "EST"},
};

const uint32_t kTimeZoneIdDaylight = 2;

} // namespace

std::string FormatTimeZoneText(const TimeZoneFacts& facts, size_t bufferSize)
{
    const std::string& name = facts.zoneId == kTimeZoneIdDaylight ? facts.daylightNameUtf8 : facts.standardNameUtf8;
    for (const ZoneAbbreviation& zone : kZoneAbbreviations) {
        if (name == zone.name)
            return CutToBuffer(zone.text, bufferSize);
    }
    // The sign is the bias's own (positive west of Greenwich), and the
    // daylight bias is never added: the text names the zone, not the season.
    if (facts.bias >= 0)
        return FormatBounded(bufferSize, "(GMT +%02d%02d", facts.bias / 60, facts.bias % 60);
    const int64_t east = -static_cast<int64_t>(facts.bias);
    return FormatBounded(bufferSize, "(GMT -%02d%02d", static_cast<int>(east / 60), static_cast<int>(east % 60));
}

std::string FormatHtmlReportDate(const ReportTimestamp& stamp)
{
    const LocalDateTime& t = stamp.time;
    return FormatBounded(64, "%04d-%02d-%02d %02d:%02d:%02d %s\n", t.year, t.month, t.day, t.hour, t.minute,
                         t.second, stamp.zoneText.c_str());
}

std::string FormatPrintedReportDate(const ReportTimestamp& stamp)
{
    const LocalDateTime& t = stamp.time;
    return FormatBounded(512, "Report Date:        %04d-%02d-%02d %02d:%02d:%02d %s", t.year, t.month, t.day, t.hour,
                         t.minute, t.second, stamp.zoneText.c_str());
}
