#include "app/settings.h"
#include "app/text_format.h"

#include <gtest/gtest.h>

TEST(FormatScaledNumber, ScaleChosenBeforeRoundingAndCutToTheBuffer)
{
    const std::tuple<int64_t, size_t, const char*> cases[] = {  // value, buffer size, text
        {999, 21, "999"},
        {1000, 21, "1.00 K"},
        {999995, 21, "1000.00 K"},  // the scale is chosen before rounding
        {1000000, 21, "1.00 M"},
        {999999999, 21, "1000.00 M"},
        {1000000000, 21, "1.00 G"},
        {INT64_MAX, 21, "9223371776.00 G"},  // the single-precision factor shows
        {-1, 21, "18446744073709551615"},    // the longest text fits
        {-1, 8, "1844674"},
    };
    for (const auto& [value, size, text] : cases)
        EXPECT_EQ(FormatScaledNumber(value, size), text) << value;
}

TEST(FormatBounded, CutsToBufferSize)
{
    EXPECT_EQ(FormatBounded(6, "Testing: %s", "CPU"), "Testi");
    EXPECT_EQ(FormatBounded(6, "%s", "123456"), "12345");  // one more than fits
    EXPECT_EQ(FormatBounded(1, "%d", 42), "");
    EXPECT_EQ(FormatBounded(0, "%d", 42), "");
    EXPECT_EQ(FormatBounded(256, "%s", std::string(300, 'x').c_str()), std::string(255, 'x'));
}

TEST(DnsTestUrlOption, LastLowerCaseOptionWithAnArgumentWins)
{
    const std::string builtIn = "https://www.velmora.com/";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, builtIn},
        {{"-URL", "https://a.example/"}, builtIn},
        {{"-url", "https://a.example/", "-url", "https://b.example/"}, "https://b.example/"},
        {{"-url", "https://a.example/", "-url"}, "https://a.example/"},  // trailing option ignored
        {{"x", "-url", "-url"}, "-url"},  // the argument after -url is taken whatever it is
    };
    for (const auto& [args, url] : cases)
        EXPECT_EQ(DnsTestUrlFromArguments(args, builtIn), url);
}
