// How one registry value becomes text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

constexpr uint32_t kRegTypeSz = 1;
constexpr uint32_t kRegTypeDword = 4;

// REG_SZ: the bytes up to the first NUL or the end (a value stored without
// its terminator still comes back whole). REG_DWORD: the number in decimal.
// Every other type, or a REG_DWORD that is not 4 bytes: none.
std::optional<std::string> RegistryDataAsText(uint32_t type, const uint8_t* data, size_t size);
