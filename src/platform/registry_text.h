// How one registry value becomes text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

constexpr uint32_t kRegTypeSz = 1;
constexpr uint32_t kRegTypeExpandSz = 2;
constexpr uint32_t kRegTypeDword = 4;

// REG_SZ: the bytes up to the first NUL or the end (a value stored without
// its terminator still comes back whole). REG_DWORD: the number in decimal.
// Every other type, or a REG_DWORD that is not 4 bytes: none.
std::optional<std::string> RegistryDataAsText(uint32_t type, const uint8_t* data, size_t size);

// A text value as a fixed buffer of `bufferSize` bytes receives it: REG_SZ or
// REG_EXPAND_SZ (unexpanded) up to the first NUL, and never more than
// bufferSize - 1 characters, so a text that fills the whole buffer still
// comes back terminated. None for any other type, and for a text longer
// than the buffer (the query of such a value fails). Length is counted to the
// first NUL: systems differ in whether they count a missing terminator.
std::optional<std::string> RegistryDataAsBoundedText(uint32_t type, const uint8_t* data, size_t size,
                                                     size_t bufferSize);

// Up to four bytes as a 4-byte number that starts at 0 receives them
// (little-endian, missing bytes stay 0); the type is not examined.
uint32_t RegistryDataAsNumber(const uint8_t* data, size_t size);
