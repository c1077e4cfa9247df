// Bounded formatting and the scaled-number formatter.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// printf-style formatting into a text no longer than a fixed buffer of
// `bufferSize` bytes would hold (bufferSize - 1 characters): longer results
// are cut, never refused.
std::string FormatBounded(size_t bufferSize, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

// Cuts `text` to what a buffer of `bufferSize` bytes holds.
std::string CutToBuffer(const std::string& text, size_t bufferSize);

// A count with a K, M or G scale letter: "999", "1.50 K", "2.39 G".
// Negative values print as unsigned 64-bit numbers.
std::string FormatScaledNumber(int64_t value, size_t bufferSize = 64);

// Removes one final line feed (a carriage return before it stays).
std::string DropFinalLineFeed(std::string text);
