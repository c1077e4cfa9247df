#include "checks/local/windows_auto_update.h"

#include "checks/local/calendar.h"

#include <gtest/gtest.h>

namespace {

int64_t At(int year, int month, int day, int hour, int minute, int second)
{
    return FileTimeFromCivil(CivilTime{year, month, day, hour, minute, second});
}

const int64_t kNow = At(2015, 12, 15, 14, 22, 0);

WindowsAutoUpdateFacts Facts(AutoUpdateSource source, uint32_t noAutoUpdate, uint32_t auOptions,
                             std::optional<std::string> lastSuccessTime)
{
    WindowsAutoUpdateFacts facts;
    facts.source = source;
    facts.noAutoUpdate = noAutoUpdate;
    facts.auOptions = auOptions;
    facts.resultsKeyOpened = true;
    facts.lastSuccessTime = std::move(lastSuccessTime);
    facts.nowFileTime = kNow;
    return facts;
}

TestResult Grade(const WindowsAutoUpdateFacts& facts)
{
    TestResult result;
    GradeWindowsAutoUpdate(facts, result);
    return result;
}

const char* const kResultsKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\WindowsUpdate\\Auto Update\\Results\\Install";

} // namespace

TEST(WindowsAutoUpdate_Grade, SwitchesDecideDisabled)
{
    struct Case {
        AutoUpdateSource source;
        uint32_t noAutoUpdate;
        uint32_t auOptions;
        bool disabled;
    } cases[] = {
        {AutoUpdateSource::Policy, 1, 0, true},  {AutoUpdateSource::Policy, 0, 1, true},
        {AutoUpdateSource::Policy, 0, 0, false}, {AutoUpdateSource::Policy, 0, 4, false},
        {AutoUpdateSource::Setting, 0, 1, true}, {AutoUpdateSource::Setting, 0, 4, false},
        {AutoUpdateSource::Setting, 49, 0, true},  // "1" stored as text reads as 0x31
        {AutoUpdateSource::None, 0, 0, false},
    };
    for (const Case& c : cases) {
        const TestResult result = Grade(Facts(c.source, c.noAutoUpdate, c.auOptions, "2015-12-01 14:22:01"));
        EXPECT_EQ(result.status, 'I');
        if (c.disabled) {
            EXPECT_EQ(result.summary, "Disabled (last applied 13 days ago)");
            EXPECT_EQ(result.details, "Microsoft Windows Automatic Updates are DISABLED and were installed 13 days "
                                      "ago (2015-12-01 14:22:01)");
        } else {
            EXPECT_EQ(result.summary, "Enabled (last applied 13 days ago)");
            EXPECT_EQ(result.details,
                      "Microsoft Windows Updates are enabled and were installed 13 days ago (2015-12-01 14:22:01)");
        }
    }
}

TEST(WindowsAutoUpdate_Grade, DaysAreWholeAndSigned)
{
    struct Case {
        const char* lastSuccessTime;
        const char* summary;
    } cases[] = {
        {"2015-12-01 14:22:01", "Enabled (last applied 13 days ago)"},  // the fourteenth day is not complete
        {"2015-12-01 14:22:00", "Enabled (last applied 14 days ago)"},
        {"2015-12-15 15:22:00", "Enabled (last applied 0 days ago)"},   // an hour ahead
        {"2015-12-17 14:22:00", "Enabled (last applied -2 days ago)"},
        {"2014-12-15 14:22:00", "Enabled (last applied 365 days ago)"},
        {"2012-02-29 00:00:00", "Enabled (last applied 1385 days ago)"},
        {"   2015-12-14 14:22:00", "Enabled (last applied 1 days ago)"},
        {"2015-12-1414:22:00 trailing", "Enabled (last applied 1 days ago)"},
        {"1601-01-01 00:00:00", "Enabled (last applied 151558 days ago)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Grade(Facts(AutoUpdateSource::None, 0, 0, std::string(c.lastSuccessTime))).summary, c.summary)
            << c.lastSuccessTime;
}

TEST(WindowsAutoUpdate_Grade, UnparsableTimesAreShownAsRead)
{
    const char* const texts[] = {
        "2015-12-01", "", "yesterday", "2015/12/01 14:22:01",
        // Six numbers that are no real moment.
        "2015-13-01 00:00:00", "2015-02-29 00:00:00", "2015-00-10 00:00:00", "2015-12-32 00:00:00",
        "2015-12-01 24:00:00", "2015-12-01 23:60:00", "2015-12-01 23:59:60", "1600-12-31 23:59:59",
        "-201-12-01 00:00:00",
    };
    for (const char* text : texts) {
        const TestResult result = Grade(Facts(AutoUpdateSource::Policy, 1, 0, std::string(text)));
        EXPECT_EQ(result.status, 'I') << text;
        EXPECT_EQ(result.summary, "Unable to parse 'LastSuccessTime'") << text;
        EXPECT_EQ(result.details, text);
    }
}

TEST(WindowsAutoUpdate_Grade, UnreadableResults)
{
    WindowsAutoUpdateFacts noKey = Facts(AutoUpdateSource::Policy, 1, 0, std::nullopt);
    noKey.resultsKeyOpened = false;
    WindowsAutoUpdateFacts noValue = Facts(AutoUpdateSource::Setting, 0, 0, std::nullopt);
    for (const WindowsAutoUpdateFacts& facts : {noKey, noValue}) {
        const TestResult result = Grade(facts);
        EXPECT_EQ(result.status, 'I');
        EXPECT_EQ(result.summary, "Unable to read required registry key");
        EXPECT_EQ(result.details, kResultsKey);
    }
}

TEST(WindowsAutoUpdate_Grade, LongTextIsCutTo255)
{
    const std::string text = "2015-12-01 14:22:01" + std::string(108, 'x');  // 127 characters
    const TestResult result = Grade(Facts(AutoUpdateSource::None, 0, 0, text));
    EXPECT_EQ(result.summary, "Enabled (last applied 13 days ago)");
    const std::string full = "Microsoft Windows Updates are enabled and were installed 13 days ago (" + text + ")";
    EXPECT_EQ(result.details, full.substr(0, 255));
}

TEST(Calendar, DatesAndValidity)
{
    EXPECT_EQ(At(1601, 1, 1, 0, 0, 0), 0);
    EXPECT_EQ(At(1970, 1, 1, 0, 0, 1), 116444736010000000);  // the 1970 origin, plus a second
    const CivilDate leap = CivilDateFromDays(DaysFromCivil(2400, 2, 29));
    EXPECT_EQ(leap.year, 2400);
    EXPECT_EQ(leap.month, 2);
    EXPECT_EQ(leap.day, 29);
    EXPECT_TRUE(IsValidCivilTime({2000, 2, 29, 23, 59, 59}));
    EXPECT_FALSE(IsValidCivilTime({1900, 2, 29, 0, 0, 0}));
    EXPECT_TRUE(IsValidCivilTime({30827, 12, 31, 23, 59, 59}));
    EXPECT_FALSE(IsValidCivilTime({30828, 1, 1, 0, 0, 0}));
    EXPECT_EQ(FloorDivide(-1, 86400), -1);
    EXPECT_EQ(FloorDivide(86400, 86400), 1);
}
