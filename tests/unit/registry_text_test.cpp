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

TEST(RegistryText, BoundedTextNeverFillsTheTerminator)
{
    auto bounded = [](uint32_t type, const std::string& bytes, size_t bufferSize) {
        return RegistryDataAsBoundedText(type, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                                         bufferSize);
    };
    EXPECT_EQ(bounded(kRegTypeSz, std::string("abc\0", 4), 8), "abc");
    EXPECT_EQ(bounded(kRegTypeExpandSz, std::string("%x%\0", 4), 8), "%x%");
    // Eight characters without a terminator fill an 8-byte buffer: seven of
    // them remain, terminated.
    EXPECT_EQ(bounded(kRegTypeSz, "abcdefgh", 8), "abcdefg");
    EXPECT_EQ(bounded(kRegTypeSz, std::string("abcdefg\0", 8), 8), "abcdefg");
    EXPECT_EQ(bounded(kRegTypeSz, "abcdefghi", 8), std::nullopt);  // does not fit at all
    EXPECT_EQ(bounded(kRegTypeSz, "", 8), "");
    EXPECT_EQ(bounded(kRegTypeSz, std::string("abc") + std::string(20, '\0'), 8), "abc");
    EXPECT_EQ(bounded(kRegTypeDword, std::string(4, '\x01'), 8), std::nullopt);
    EXPECT_EQ(bounded(3, "abc", 8), std::nullopt);
    EXPECT_EQ(bounded(kRegTypeSz, "a", 0), std::nullopt);
}

TEST(RegistryText, NumbersWhateverTheType)
{
    auto number = [](const std::string& bytes) {
        return RegistryDataAsNumber(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    };
    EXPECT_EQ(number(std::string("\x01\x00\x00\x00", 4)), 1u);
    EXPECT_EQ(number(std::string("1\0", 2)), 0x31u);  // "1" stored as text
    EXPECT_EQ(number(""), 0u);
    EXPECT_EQ(number("\xff"), 0xFFu);
    EXPECT_EQ(number("\x78\x56\x34\x12\x99"), 0x12345678u);  // never more than four bytes
    EXPECT_EQ(RegistryDataAsNumber(nullptr, 4), 0u);
}
