// DrawWrappedText with any text, column and character width: every line
// takes at least one character, fits the column (or is one character wide),
// holds no line break, and the text comes out in order. The canvas stops the
// run if the lines outnumber the characters.
// Input: a byte of character width, a byte of line height, 2 bytes of column
// width (signed), then the text.
#include "report/report_page.h"
#include "fuzz.h"
#include "../unit/fake_canvas.h"

namespace {

class BoundedCanvas : public FakeCanvas {
public:
    BoundedCanvas(int width, int height, size_t limit) : FakeCanvas({{0, {width, height}}}), limit_(limit) {}
    size_t FitCharacters(const char* text, size_t count, int maxWidth) override
    {
        FUZZ_CHECK(++fits <= limit_);
        return FakeCanvas::FitCharacters(text, count, maxWidth);
    }
    void DrawText(int x, int y, const char* text, size_t n) override
    {
        lines.emplace_back(text, n);
        FakeCanvas::DrawText(x, y, text, n);
    }
    size_t fits = 0;
    std::vector<std::string> lines;

private:
    size_t limit_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const int charWidth = in.Byte() % 32 + 1;
    const int lineHeight = in.Byte();
    const int column = static_cast<int16_t>(in.Byte() | in.Byte() << 8);
    const std::string text = in.Rest();
    BoundedCanvas canvas(charWidth, lineHeight, text.size() + 1);

    const int bottom = DrawWrappedText(canvas, text, 100, 100 + column, 50);
    FUZZ_CHECK(bottom == 50 + lineHeight * static_cast<int>(std::max<size_t>(canvas.fits, 1)));
    const size_t widest = std::max(1, column / charWidth);
    std::string drawn;
    for (const std::string& line : canvas.lines) {
        FUZZ_CHECK(!line.empty() && line.size() <= widest);
        FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos);
        drawn += line;
    }
    std::string expected = text;
    expected.erase(std::remove_if(expected.begin(), expected.end(), [](char c) { return c == '\r' || c == '\n'; }),
                   expected.end());
    FUZZ_CHECK(drawn == expected);
    return 0;
}
