#include "checks/local/windows_auto_update.h"

#include "checks/local/calendar.h"

#include <gtest/gtest.h>

namespace {

using S = AutoUpdateSource;

TestResult Grade(S source, uint32_t noAutoUpdate, uint32_t auOptions, std::optional<std::string> lastSuccessTime,
                 bool resultsKeyOpened = true)
{
    const int64_t now = FileTimeFromCivil({2015, 12, 15, 14, 22, 0});
    TestResult result;
    GradeWindowsAutoUpdate({source, noAutoUpdate, auOptions, resultsKeyOpened, lastSuccessTime, now}, result);
    EXPECT_EQ(result.status, 'I');
    return result;
}

} // namespace

TEST(WindowsAutoUpdate_Grade, SwitchesAndWholeDays)
{
    const std::tuple<S, uint32_t, uint32_t, const char*, const char*> cases[] = {
        {S::Policy, 1, 0, "2015-12-01 14:22:01", "Disabled (last applied 13 days ago)"},  // 14th day not complete
        {S::Policy, 0, 1, "2015-12-01 14:22:00", "Disabled (last applied 14 days ago)"},
        {S::Setting, 0x31, 4, "2015-12-15 15:22:00", "Disabled (last applied 0 days ago)"},  // "1" as text is 0x31
        {S::Policy, 0, 0, "2015-12-17 14:22:00", "Enabled (last applied -2 days ago)"},
        {S::Setting, 0, 4, "2012-02-29 00:00:00", "Enabled (last applied 1385 days ago)"},
        {S::None, 1, 1, "1601-01-01 00:00:00", "Enabled (last applied 151558 days ago)"},
        {S::None, 0, 0, "   2015-12-14 14:22:00", "Enabled (last applied 1 days ago)"},
        {S::None, 0, 0, "2015-12-1414:22:00 and more", "Enabled (last applied 1 days ago)"},  // the rest is not read
    };
    for (const auto& [source, no, options, text, summary] : cases)
        EXPECT_EQ(Grade(source, no, options, std::string(text)).summary, summary) << text;
    const std::string text = "2015-12-01 14:22:01" + std::string(108, 'x');  // 127 characters
    const std::string full = "Microsoft Windows Updates are enabled and were installed 13 days ago (" + text + ")";
    EXPECT_EQ(Grade(S::None, 0, 0, text).details, full.substr(0, 255));
    EXPECT_EQ(Grade(S::Policy, 1, 0, std::string("2015-12-01 14:22:01")).details,
              "Microsoft Windows Automatic Updates are DISABLED and were installed 13 days ago (2015-12-01 14:22:01)");
}

TEST(WindowsAutoUpdate_Grade, UnreadableAndUnparsableTimes)
{
    // Six numbers that name no real moment are as unparsable as text that does not match.
    for (const char* text : {"2015-12-01", "", "2015/12/01 14:22:01", "-201-12-01 00:00:00", "2015-13-01 00:00:00",
                             "2015-02-29 00:00:00", "2015-12-00 00:00:00", "2015-12-01 24:00:00",
                             "2015-12-01 23:59:60", "1600-12-31 23:59:59"}) {
        const TestResult result = Grade(S::Policy, 1, 0, std::string(text));
        EXPECT_EQ(result.summary, "Unable to parse 'LastSuccessTime'") << text;
        EXPECT_EQ(result.details, text);
    }
    for (const TestResult& result : {Grade(S::Policy, 1, 0, std::nullopt, false), Grade(S::Setting, 0, 0, {})}) {
        EXPECT_EQ(result.summary, "Unable to read required registry key");
        EXPECT_EQ(result.details,
                  "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\WindowsUpdate\\Auto Update\\Results\\Install");
    }
}
