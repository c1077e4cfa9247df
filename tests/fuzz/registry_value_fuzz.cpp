// One registry value of any type, length and content as text and as number.
// Input: a byte of type, a byte of buffer size, then the data.
#include "platform/registry_text.h"
#include "fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const uint32_t type = in.Byte() % 8;
    const size_t bufferSize = in.Byte();
    const std::string value = in.Rest();
    const auto* bytes = reinterpret_cast<const uint8_t*>(value.data());
    const std::string text = UpToNul(value);

    const std::optional<std::string> asText = RegistryDataAsText(type, bytes, value.size());
    if (type == kRegTypeSz)
        FUZZ_CHECK(asText && *asText == text);
    else if (type == kRegTypeDword && value.size() == 4)
        FUZZ_CHECK(asText && *asText == std::to_string(RegistryDataAsNumber(bytes, 4)));
    else
        FUZZ_CHECK(!asText);

    // A text that fits its buffer comes back whole and terminated; a longer one not at all.
    const std::optional<std::string> bounded = RegistryDataAsBoundedText(type, bytes, value.size(), bufferSize);
    if ((type != kRegTypeSz && type != kRegTypeExpandSz) || text.size() > bufferSize || bufferSize == 0)
        FUZZ_CHECK(!bounded);
    else
        FUZZ_CHECK(bounded && *bounded == text.substr(0, bufferSize - 1));

    uint32_t expected = 0;
    std::memcpy(&expected, value.data(), std::min<size_t>(value.size(), 4));
    FUZZ_CHECK(RegistryDataAsNumber(bytes, value.size()) == expected);
    return 0;
}
