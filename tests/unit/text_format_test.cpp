#include "app/text_format.h"

#include <gtest/gtest.h>

TEST(FormatScaledNumber, Examples)
{
    const struct {
        int64_t value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {999, "999"},
        {1000, "1.00 K"},
        {999994, "999.99 K"},
        {999995, "1000.00 K"},  // the scale is chosen before rounding
        {1000000, "1.00 M"},
        {2706000, "2.71 M"},
        {999999999, "1000.00 M"},
        {1000000000, "1.00 G"},
        {2394000000LL, "2.39 G"},
        {12345678901LL, "12.35 G"},
        {-1, "18446744073709551615"},
        {INT64_MAX, "9223371776.00 G"},  // the single-precision factor shows
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatScaledNumber(c.value), c.text) << c.value;
}

TEST(FormatScaledNumber, LongestTextFitsTwentyOneBytes)
{
    EXPECT_EQ(FormatScaledNumber(-1, 21), "18446744073709551615");
    EXPECT_EQ(FormatScaledNumber(-1, 8), "1844674");
}

TEST(FormatBounded, CutsToBufferSize)
{
    EXPECT_EQ(FormatBounded(6, "Testing: %s", "CPU"), "Testi");
    EXPECT_EQ(FormatBounded(1, "%d", 42), "");
    EXPECT_EQ(FormatBounded(0, "%d", 42), "");
    EXPECT_EQ(FormatBounded(256, "Testing: %s", "USB 2.0"), "Testing: USB 2.0");
    const std::string longName(300, 'x');
    EXPECT_EQ(FormatBounded(256, "%s", longName.c_str()).size(), 255u);
}

TEST(DropFinalLineFeed, OnlyOneLineFeedGoes)
{
    EXPECT_EQ(DropFinalLineFeed("The system cannot find the file specified.\r\n"),
              "The system cannot find the file specified.\r");
    EXPECT_EQ(DropFinalLineFeed("a\n\n"), "a\n");
    EXPECT_EQ(DropFinalLineFeed(""), "");
}
