// What the fuzz targets share: the input read as fields, and a check that
// stops the run with the failed condition (libFuzzer keeps the input).
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#define FUZZ_CHECK(condition)                                                        \
    do {                                                                             \
        if (!(condition)) {                                                          \
            std::fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                            \
        }                                                                            \
    } while (0)

// The input taken field by field; past its end every field is 0 or empty, so
// any input is a valid one.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : p_(data), end_(data + size) {}

    uint8_t Byte() { return p_ < end_ ? *p_++ : 0; }
    uint32_t Number()
    {
        uint32_t n = 0;
        for (int i = 0; i < 4; ++i)
            n |= static_cast<uint32_t>(Byte()) << (8 * i);
        return n;
    }
    uint64_t Number64() { return Number() | (static_cast<uint64_t>(Number()) << 32); }
    // The bytes up to the next line feed (dropped), or the rest.
    std::string Line()
    {
        const uint8_t* stop = std::find(p_, end_, '\n');
        std::string line(reinterpret_cast<const char*>(p_), stop - p_);
        p_ = stop < end_ ? stop + 1 : end_;
        return line;
    }
    std::string Rest()
    {
        std::string rest(reinterpret_cast<const char*>(p_), end_ - p_);
        p_ = end_;
        return rest;
    }
    bool AtEnd() const { return p_ == end_; }

private:
    const uint8_t* p_;
    const uint8_t* end_;
};

// The text as a C string sees it: up to its first NUL.
inline std::string UpToNul(const std::string& text)
{
    return text.substr(0, std::min(text.size(), std::strlen(text.c_str())));
}
