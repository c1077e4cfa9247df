// Error texts from the system's and WinINet's message tables.
#pragma once

#include <cstdint>
#include <string>

// The message for `code` without its final line feed; false and an empty
// text when there is none.
bool FormatErrorText(uint32_t code, std::string& text);

// A box about the calling thread's last error, captioned "Error Message".
// The step label names the failed call; the box shows only the system's text.
void ShowLastErrorBox(const char* stepLabel);
