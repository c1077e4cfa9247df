// LastSuccessTime: any text of up to 127 characters. A text that names a real
// moment gives whole days against the clock (the calendar checked against
// the C library's timegm); anything else is reported unparsable, as read.
// Input: 8 bytes of clock, a byte of switches, then the text.
#include "checks/local/windows_auto_update.h"
#include "fuzz.h"

#include <ctime>

namespace {

constexpr int64_t kSecondsFrom1601To1970 = 11644473600;
constexpr int64_t kLatestFileTime = 0x7FFF35F4F06C7FFF;  // 30827-12-31 23:59:59.9999999

bool TimeOf(const std::string& text, int64_t& fileTime)
{
    std::tm t{};
    if (std::sscanf(text.c_str(), "%04d-%02d-%02d %02d:%02d:%02d", &t.tm_year, &t.tm_mon, &t.tm_mday,
                    &t.tm_hour, &t.tm_min, &t.tm_sec) < 6)
        return false;
    const std::tm asRead = t;
    t.tm_year -= 1900;
    t.tm_mon -= 1;
    const time_t seconds = timegm(&t);
    // timegm carries overflowing fields over: a real moment comes back unchanged.
    if (asRead.tm_year < 1601 || asRead.tm_year > 30827 || t.tm_year + 1900 != asRead.tm_year ||
        t.tm_mon + 1 != asRead.tm_mon || t.tm_mday != asRead.tm_mday || t.tm_hour != asRead.tm_hour ||
        t.tm_min != asRead.tm_min || t.tm_sec != asRead.tm_sec)
        return false;
    fileTime = (static_cast<int64_t>(seconds) + kSecondsFrom1601To1970) * 10000000;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    WindowsAutoUpdateFacts facts;
    facts.nowFileTime = static_cast<int64_t>(in.Number64() % kLatestFileTime);
    const uint8_t switches = in.Byte();
    facts.source = static_cast<AutoUpdateSource>(switches % 3);
    facts.noAutoUpdate = switches & 4;
    facts.auOptions = (switches >> 3) & 3;
    facts.resultsKeyOpened = true;
    facts.lastSuccessTime = in.Rest().substr(0, 127);
    const std::string& text = *facts.lastSuccessTime;

    TestResult result;
    GradeWindowsAutoUpdate(facts, result);
    FUZZ_CHECK(result.status == 'I');
    int64_t applied = 0;
    if (!TimeOf(text, applied)) {
        FUZZ_CHECK(result.summary == "Unable to parse 'LastSuccessTime'");
        FUZZ_CHECK(result.details == text);
        return 0;
    }
    const bool disabled = facts.source != AutoUpdateSource::None && (facts.noAutoUpdate != 0 || facts.auOptions == 1);
    const long long days = (facts.nowFileTime - applied) / 864000000000;
    char summary[64];
    std::snprintf(summary, sizeof(summary), "%s (last applied %lld days ago)", disabled ? "Disabled" : "Enabled",
                  days);
    FUZZ_CHECK(result.summary == summary);
    FUZZ_CHECK(result.details.size() <= 255);
    FUZZ_CHECK(result.details.find(disabled ? "DISABLED" : "enabled") != std::string::npos);
    return 0;
}
