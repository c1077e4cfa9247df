#include "platform/registry_text.h"

#include <gtest/gtest.h>

// The shapes the Wine runs of the probes and checks leave out.
TEST(RegistryText, TerminatorsTypesAndBuffers)
{
    using Text = std::optional<std::string>;
    // type, data, the buffer a bounded read offers, as text, as bounded text
    const std::tuple<uint32_t, std::string, size_t, Text, Text> cases[] = {
        {kRegTypeSz, std::string("ab\0cd", 5), 8, "ab", "ab"},
        {kRegTypeSz, "abcdefgh", 8, "abcdefgh", "abcdefg"},  // fills the buffer: seven remain, terminated
        {kRegTypeSz, std::string("abc") + std::string(20, '\0'), 8, "abc", "abc"},  // measured to the first NUL
        {kRegTypeSz, "a", 0, "a", std::nullopt},
        {kRegTypeExpandSz, std::string("%x%\0", 4), 8, std::nullopt, "%x%"},
        {kRegTypeDword, std::string("\xff\xff\xff\xff", 4), 8, "4294967295", std::nullopt},
    };
    for (const auto& [type, data, bufferSize, text, bounded] : cases) {
        const auto* bytes = reinterpret_cast<const uint8_t*>(data.data());
        EXPECT_EQ(RegistryDataAsText(type, bytes, data.size()), text) << data;
        EXPECT_EQ(RegistryDataAsBoundedText(type, bytes, data.size(), bufferSize), bounded) << data;
    }
    EXPECT_EQ(RegistryDataAsNumber(nullptr, 4), 0u);
}
