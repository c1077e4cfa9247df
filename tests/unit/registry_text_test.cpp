#include "platform/registry_text.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::optional<std::string> Text(uint32_t type, const std::string& bytes)
{
    return RegistryDataAsText(type, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

} // namespace

TEST(RegistryText, StringsWithAndWithoutTerminator)
{
    EXPECT_EQ(Text(kRegTypeSz, std::string("abc\0", 4)), "abc");
    EXPECT_EQ(Text(kRegTypeSz, "abc"), "abc");
    EXPECT_EQ(Text(kRegTypeSz, std::string("ab\0cd", 5)), "ab");
    EXPECT_EQ(Text(kRegTypeSz, ""), "");
}

TEST(RegistryText, NumbersInDecimal)
{
    uint32_t value = 4096;
    std::string bytes(4, '\0');
    std::memcpy(&bytes[0], &value, 4);
    EXPECT_EQ(Text(kRegTypeDword, bytes), "4096");
    value = 0xFFFFFFFFu;
    std::memcpy(&bytes[0], &value, 4);
    EXPECT_EQ(Text(kRegTypeDword, bytes), "4294967295");
    EXPECT_EQ(Text(kRegTypeDword, "ab"), std::nullopt);
}

TEST(RegistryText, OtherTypesGiveNone)
{
    EXPECT_EQ(Text(2, std::string("%TEMP%\0", 7)), std::nullopt);  // REG_EXPAND_SZ
    EXPECT_EQ(Text(7, std::string("a\0b\0\0", 5)), std::nullopt);  // REG_MULTI_SZ
    EXPECT_EQ(Text(3, "xyz"), std::nullopt);                       // REG_BINARY
    EXPECT_EQ(Text(11, "12345678"), std::nullopt);                 // REG_QWORD
}
