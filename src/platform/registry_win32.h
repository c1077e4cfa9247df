// Reading one registry value as text.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// One value of a key the caller has opened; none for a missing or unreadable
// value or a type other than REG_SZ and REG_DWORD.
std::optional<std::string> ReadRegValueText(HKEY key, const char* valueName);

// Opens root\subKey for reading (the native 64-bit view under WOW64), reads
// one value, closes the key.
std::optional<std::string> ReadRegKeyValueText(HKEY root, const char* subKey, const char* valueName);

// A number read into a 4-byte variable that starts at 0, whatever the
// value's type; 0 for a missing or unreadable value or one longer than 4 bytes.
uint32_t ReadRegRawNumber(HKEY key, const char* valueName);

// A REG_DWORD of exactly 4 bytes, or none.
std::optional<uint32_t> ReadRegDword(HKEY key, const char* valueName);

// A text value read as into a fixed buffer of `bufferSize` bytes (see
// RegistryDataAsBoundedText): always terminated, none when missing, not
// text, or longer than the buffer.
std::optional<std::string> ReadRegBoundedText(HKEY key, const char* valueName, size_t bufferSize);

// KEY_READ, plus the 64-bit view when a 32-bit program runs on 64-bit Windows.
REGSAM NativeViewReadAccess();
