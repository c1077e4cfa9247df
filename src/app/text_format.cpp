#include "app/text_format.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

std::string FormatBounded(size_t bufferSize, const char* format, ...)
{
    if (bufferSize == 0)
        return std::string();
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (needed < 0) {
        va_end(args);
        return std::string();
    }
    std::vector<char> buffer(static_cast<size_t>(needed) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    va_end(args);
    std::string text(buffer.data(), static_cast<size_t>(needed));
    return CutToBuffer(text, bufferSize);
}

std::string CutToBuffer(const std::string& text, size_t bufferSize)
{
    if (bufferSize == 0)
        return std::string();
    if (text.size() > bufferSize - 1)
        return text.substr(0, bufferSize - 1);
    return text;
}

std::string FormatScaledNumber(int64_t value, size_t bufferSize)
{
    if (value < 1000)
        return FormatBounded(bufferSize, "%llu", static_cast<unsigned long long>(value));

    // The factors are single-precision constants on purpose (0.001f is
    // 0.0010000000474974513), multiplied in double precision: that is what
    // makes 999,995 print as "1000.00 K".
    float factor;
    char letter;
    if (value < 1000000) {
        factor = 0.001f;
        letter = 'K';
    } else if (value < 1000000000) {
        factor = 0.000001f;
        letter = 'M';
    } else {
        factor = 0.000000001f;
        letter = 'G';
    }
    const double scaled = static_cast<double>(value) * static_cast<double>(factor);
    return FormatBounded(bufferSize, "%3.2f %c", scaled, letter);
}

std::string DropFinalLineFeed(std::string text)
{
    if (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}
