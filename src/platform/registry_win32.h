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

// KEY_READ, plus the 64-bit view when a 32-bit program runs on 64-bit Windows.
REGSAM NativeViewReadAccess();
