#include "platform/registry_text.h"

#include <cstring>

std::optional<std::string> RegistryDataAsText(uint32_t type, const uint8_t* data, size_t size)
{
    if (type == kRegTypeSz) {
        if (data == nullptr || size == 0)
            return std::string();
        const void* nul = std::memchr(data, 0, size);
        const size_t length = nul ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - data) : size;
        return std::string(reinterpret_cast<const char*>(data), length);
    }
    if (type == kRegTypeDword) {
        if (data == nullptr || size != 4)
            return std::nullopt;
        uint32_t number;
        std::memcpy(&number, data, 4);
        return std::to_string(number);
    }
    return std::nullopt;
}

std::optional<std::string> RegistryDataAsBoundedText(uint32_t type, const uint8_t* data, size_t size,
                                                     size_t bufferSize)
{
    if (type != kRegTypeSz && type != kRegTypeExpandSz)
        return std::nullopt;
    std::optional<std::string> text = RegistryDataAsText(kRegTypeSz, data, size);
    if (bufferSize == 0 || text->size() > bufferSize)
        return std::nullopt;
    if (text->size() > bufferSize - 1)
        text->resize(bufferSize - 1);
    return text;
}

uint32_t RegistryDataAsNumber(const uint8_t* data, size_t size)
{
    uint32_t number = 0;
    for (size_t i = 0; data != nullptr && i < size && i < 4; ++i)
        number |= static_cast<uint32_t>(data[i]) << (8 * i);
    return number;
}
