#include "report/report_timestamp.h"

#include <windows.h>

namespace {

// A zone name as UTF-8 in 64 bytes; a name that does not fit matches nothing.
std::string Utf8ZoneName(const WCHAR* name)
{
    char buffer[64] = {};
    const int written = WideCharToMultiByte(CP_UTF8, 0, name, -1, buffer, sizeof(buffer), nullptr, nullptr);
    return written > 0 ? std::string(buffer) : std::string();
}

} // namespace

std::string FormatTimeZoneName(size_t bufferSize)
{
    TIME_ZONE_INFORMATION zone = {};
    TimeZoneFacts facts;
    facts.zoneId = GetTimeZoneInformation(&zone);
    facts.bias = zone.Bias;
    facts.standardNameUtf8 = Utf8ZoneName(zone.StandardName);
    facts.daylightNameUtf8 = Utf8ZoneName(zone.DaylightName);
    return FormatTimeZoneText(facts, bufferSize);
}

ReportTimestamp CurrentReportTimestamp()
{
    ReportTimestamp stamp;
    stamp.zoneText = FormatTimeZoneName(64);
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    stamp.time = {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
    return stamp;
}
