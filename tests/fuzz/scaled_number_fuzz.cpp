// FormatScaledNumber of any value into any buffer, and FormatBounded of any
// text: never longer than the buffer holds, a cut of the whole text, and a
// scaled number that reads back within rounding of the value.
// Input: 8 bytes of value, a byte of buffer size, then a text.
#include "app/text_format.h"
#include "fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const int64_t value = static_cast<int64_t>(in.Number64());
    const size_t bufferSize = in.Byte();
    const std::string text = UpToNul(in.Rest());

    const std::string whole = FormatScaledNumber(value);
    FUZZ_CHECK(whole.size() <= 20);
    FUZZ_CHECK(FormatScaledNumber(value, bufferSize) == CutToBuffer(whole, bufferSize));
    if (value < 1000) {
        FUZZ_CHECK(whole == std::to_string(static_cast<unsigned long long>(value)));
    } else {
        const char letter = value < 1000000 ? 'K' : value < 1000000000 ? 'M' : 'G';
        const double unit = value < 1000000 ? 1e3 : value < 1000000000 ? 1e6 : 1e9;
        char* end = nullptr;
        const double shown = std::strtod(whole.c_str(), &end);
        FUZZ_CHECK(end == whole.c_str() + whole.size() - 2 && end[0] == ' ' && end[1] == letter);
        FUZZ_CHECK(end[-3] == '.' && std::abs(shown - value / unit) <= 0.005 + value / unit * 1e-7);
    }

    const std::string bounded = FormatBounded(bufferSize, "%s|%lld", text.c_str(), static_cast<long long>(value));
    const std::string full = text + "|" + std::to_string(value);
    FUZZ_CHECK(bounded == full.substr(0, bufferSize == 0 ? 0 : bufferSize - 1));
    return 0;
}
