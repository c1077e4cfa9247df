#include "checks/local/windows_auto_update.h"

#include "checks/local/calendar.h"

#include <gtest/gtest.h>

namespace {

const int64_t kNow = FileTimeFromCivil({2015, 12, 15, 14, 22, 0});
const char* const kResultsKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\WindowsUpdate\\Auto Update\\Results\\Install";

TestResult Grade(AutoUpdateSource source, uint32_t noAutoUpdate, uint32_t auOptions,
                 std::optional<std::string> lastSuccessTime, bool resultsKeyOpened = true)
{
    const WindowsAutoUpdateFacts facts{source, noAutoUpdate, auOptions, resultsKeyOpened, lastSuccessTime, kNow};
    TestResult result;
    GradeWindowsAutoUpdate(facts, result);
    EXPECT_EQ(result.status, 'I');
    return result;
}

} // namespace

TEST(WindowsAutoUpdate_Grade, SwitchesDecideDisabled)
{
    const AutoUpdateSource policy = AutoUpdateSource::Policy, setting = AutoUpdateSource::Setting;
    const std::string when = "2015-12-01 14:22:01";
    for (auto [source, no, options] : {std::tuple{policy, 1u, 0u}, {policy, 0u, 1u}, {setting, 0u, 1u},
                                       {setting, 0x31u, 4u}}) {  // "1" stored as text reads as 0x31
        const TestResult result = Grade(source, no, options, when);
        EXPECT_EQ(result.summary, "Disabled (last applied 13 days ago)");
        EXPECT_EQ(result.details,
                  "Microsoft Windows Automatic Updates are DISABLED and were installed 13 days ago (" + when + ")");
    }
    for (auto [source, no, options] : {std::tuple{policy, 0u, 0u}, {setting, 0u, 4u}, {AutoUpdateSource::None, 0u, 0u}}) {
        const TestResult result = Grade(source, no, options, when);
        EXPECT_EQ(result.summary, "Enabled (last applied 13 days ago)");
        EXPECT_EQ(result.details,
                  "Microsoft Windows Updates are enabled and were installed 13 days ago (" + when + ")");
    }
}

TEST(WindowsAutoUpdate_Grade, DaysAreWholeAndSigned)
{
    const std::pair<const char*, int> cases[] = {
        {"2015-12-01 14:22:01", 13},  // the fourteenth day is not complete
        {"2015-12-01 14:22:00", 14},   {"2015-12-15 15:22:00", 0},  // an hour ahead
        {"2015-12-17 14:22:00", -2},   {"2012-02-29 00:00:00", 1385},
        {"1601-01-01 00:00:00", 151558}, {"   2015-12-14 14:22:00", 1},
        {"2015-12-1414:22:00 and more", 1},  // the blank matches none, and the rest is not read
    };
    for (const auto& [text, days] : cases)
        EXPECT_EQ(Grade(AutoUpdateSource::None, 0, 0, std::string(text)).summary,
                  "Enabled (last applied " + std::to_string(days) + " days ago)")
            << text;
}

TEST(WindowsAutoUpdate_Grade, UnparsableTimesAreShownAsRead)
{
    for (const char* text : {"2015-12-01", "", "2015/12/01 14:22:01", "-201-12-01 00:00:00",
                             // Six numbers that name no real moment.
                             "2015-13-01 00:00:00", "2015-02-29 00:00:00", "2015-12-00 00:00:00",
                             "2015-12-01 24:00:00", "2015-12-01 23:59:60", "1600-12-31 23:59:59"}) {
        const TestResult result = Grade(AutoUpdateSource::Policy, 1, 0, std::string(text));
        EXPECT_EQ(result.summary, "Unable to parse 'LastSuccessTime'") << text;
        EXPECT_EQ(result.details, text);
    }
}

TEST(WindowsAutoUpdate_Grade, UnreadableResultsAndLongTexts)
{
    for (const TestResult& result : {Grade(AutoUpdateSource::Policy, 1, 0, std::nullopt, false),
                                     Grade(AutoUpdateSource::Setting, 0, 0, std::nullopt)}) {
        EXPECT_EQ(result.summary, "Unable to read required registry key");
        EXPECT_EQ(result.details, kResultsKey);
    }
    const std::string text = "2015-12-01 14:22:01" + std::string(108, 'x');  // 127 characters
    const std::string full = "Microsoft Windows Updates are enabled and were installed 13 days ago (" + text + ")";
    EXPECT_EQ(Grade(AutoUpdateSource::None, 0, 0, text).details, full.substr(0, 255));
}
