#include "checks/network/decimal_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(DecimalText_Read, ReadsAsAtolDoesAndNeverOverflows)
{
    const std::pair<const char*, int64_t> cases[] = {
        {"200", 200},
        {" \t\r\n200", 200},
        {"+404", 404},
        {"-17", -17},
        {"12abc", 12},
        {"abc", 0},
        {"", 0},
        {"- 5", 0},
        {"4294967295", 4294967295LL},
        {"9223372036854775807", std::numeric_limits<int64_t>::max()},
        {"99999999999999999999", std::numeric_limits<int64_t>::max()},
        {"-99999999999999999999", std::numeric_limits<int64_t>::min()},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(ReadLeadingDecimal(text), value) << text;
}

}  // namespace
