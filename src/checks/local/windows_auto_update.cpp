#include "checks/local/windows_auto_update.h"

#include "app/text_format.h"
#include "checks/local/calendar.h"

#include <cstdio>

namespace {

const char* const kResultsKeyPath =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\WindowsUpdate\\Auto Update\\Results\\Install";
constexpr size_t kLineBufferSize = 256;

// Windows writes the time as "2015-12-01 14:22:01" (UTC). Six numbers that
// do not name a real moment (month 13, 25 o'clock) are no more a time than
// text that does not match: both are reported as unparsable.
std::optional<int64_t> ParseLastSuccessTime(const std::string& text)
{
    CivilTime time;
    if (std::sscanf(text.c_str(), "%04d-%02d-%02d %02d:%02d:%02d", &time.year, &time.month, &time.day, &time.hour,
                    &time.minute, &time.second) < 6)
        return std::nullopt;
    if (!IsValidCivilTime(time))
        return std::nullopt;
    return FileTimeFromCivil(time);
}

} // namespace

void GradeWindowsAutoUpdate(const WindowsAutoUpdateFacts& facts, TestResult& result)
{
    result.status = 'I';
    const bool disabled = facts.source != AutoUpdateSource::None && (facts.noAutoUpdate != 0 || facts.auOptions == 1);

    if (!facts.resultsKeyOpened || !facts.lastSuccessTime) {
        result.summary = "Unable to read required registry key";
        result.details = kResultsKeyPath;
        return;
    }
    const std::string& text = *facts.lastSuccessTime;
    const std::optional<int64_t> applied = ParseLastSuccessTime(text);
    if (!applied) {
        result.summary = "Unable to parse 'LastSuccessTime'";
        result.details = text;
        return;
    }

    // Whole days only: an installation 13 days and 23 hours ago is 13 days
    // ago. A time in the future counts toward zero.
    const int days = static_cast<int>((facts.nowFileTime - *applied) / kFileTimeUnitsPerDay);
    if (disabled) {
        result.details = FormatBounded(
            kLineBufferSize, "Microsoft Windows Automatic Updates are DISABLED and were installed %d days ago (%s)",
            days, text.c_str());
        result.summary = FormatBounded(kLineBufferSize, "Disabled (last applied %d days ago)", days);
    } else {
        result.details = FormatBounded(kLineBufferSize,
                                       "Microsoft Windows Updates are enabled and were installed %d days ago (%s)",
                                       days, text.c_str());
        result.summary = FormatBounded(kLineBufferSize, "Enabled (last applied %d days ago)", days);
    }
}
