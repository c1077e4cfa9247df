// The report's date and time with a short time-zone text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct TimeZoneFacts {
    // TIME_ZONE_ID_DAYLIGHT (2) when daylight time is in force; anything else
    // (standard, unknown, failure) takes the standard name.
    uint32_t zoneId = 0;
    int32_t bias = 0;                  // minutes, UTC = local standard time + bias
    std::string standardNameUtf8;
    std::string daylightNameUtf8;
};

struct LocalDateTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

struct ReportTimestamp {
    LocalDateTime time;
    std::string zoneText;   // "EDT", "(GMT -0100" ...
};

// The zone's abbreviation from the US table, or "(GMT +hhmm" / "(GMT -hhmm"
// from the standard bias alone.
std::string FormatTimeZoneText(const TimeZoneFacts& facts, size_t bufferSize);

// "2024-07-01 09:05:03 EDT\n", the HTML report's date cell.
std::string FormatHtmlReportDate(const ReportTimestamp& stamp);

// "Report Date:        2024-07-01 09:05:03 EDT", the printed header line.
std::string FormatPrintedReportDate(const ReportTimestamp& stamp);

// This computer's zone text (win32 build).
std::string FormatTimeZoneName(size_t bufferSize);

// The zone text, then the local time (win32 build).
ReportTimestamp CurrentReportTimestamp();
