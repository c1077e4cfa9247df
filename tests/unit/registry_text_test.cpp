#include "platform/registry_text.h"

#include <gtest/gtest.h>

namespace {

const uint8_t* Bytes(const std::string& data)
{
    return reinterpret_cast<const uint8_t*>(data.data());
}

} // namespace

TEST(RegistryText, TextsAndNumbersOfEveryType)
{
    // type, data, size of the buffer a bounded read offers, as text, as bounded text
    using Text = std::optional<std::string>;
    const std::tuple<uint32_t, std::string, size_t, Text, Text> cases[] = {
        {kRegTypeSz, std::string("abc\0", 4), 8, "abc", "abc"},
        {kRegTypeSz, std::string("ab\0cd", 5), 8, "ab", "ab"},
        {kRegTypeSz, "", 8, "", ""},
        // Eight characters without a terminator fill an 8-byte buffer: seven remain, terminated.
        {kRegTypeSz, "abcdefgh", 8, "abcdefgh", "abcdefg"},
        {kRegTypeSz, std::string("abcdefg\0", 8), 8, "abcdefg", "abcdefg"},
        {kRegTypeSz, "abcdefghi", 8, "abcdefghi", std::nullopt},  // a value the buffer cannot take
        {kRegTypeSz, std::string("abc") + std::string(20, '\0'), 8, "abc", "abc"},
        {kRegTypeSz, "a", 0, "a", std::nullopt},
        {kRegTypeExpandSz, std::string("%x%\0", 4), 8, std::nullopt, "%x%"},
        {kRegTypeDword, std::string("\xff\xff\xff\xff", 4), 8, "4294967295", std::nullopt},
        {kRegTypeDword, "ab", 8, std::nullopt, std::nullopt},
        {7, std::string("a\0b\0\0", 5), 8, std::nullopt, std::nullopt},  // REG_MULTI_SZ
        {11, "12345678", 8, std::nullopt, std::nullopt},                  // REG_QWORD
    };
    for (const auto& [type, data, bufferSize, text, bounded] : cases) {
        EXPECT_EQ(RegistryDataAsText(type, Bytes(data), data.size()), text) << data;
        EXPECT_EQ(RegistryDataAsBoundedText(type, Bytes(data), data.size(), bufferSize), bounded) << data;
    }
    // Numbers whatever the type: at most four bytes, little-endian, missing ones 0.
    const std::pair<std::string, uint32_t> numbers[] = {
        {std::string("\x01\x00\x00\x00", 4), 1}, {std::string("1\0", 2), 0x31}, {"", 0}, {"\xff", 0xFF},
        {"\x78\x56\x34\x12\x99", 0x12345678},
    };
    for (const auto& [data, number] : numbers)
        EXPECT_EQ(RegistryDataAsNumber(Bytes(data), data.size()), number);
    EXPECT_EQ(RegistryDataAsNumber(nullptr, 4), 0u);
}
