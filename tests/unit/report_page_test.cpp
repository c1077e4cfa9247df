#include "report/report_page.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

// Fixed metrics: every character of font f is width[f] wide and height[f]
// high; font 0 is the context's own font before any report font.
struct FakeFont {
    int width;
    int height;
};

struct Drawn {
    std::string what;   // "text", "line", "logo", "start", "end"
    int font = 0;
    int x = 0, y = 0, x2 = 0, y2 = 0;
    std::string text = {};
};

class FakeCanvas : public ReportCanvas {
public:
    explicit FakeCanvas(std::map<int, FakeFont> fonts) : fonts_(std::move(fonts)) {}

    void StartPage() override { drawn.push_back({"start"}); }
    void EndPage() override { drawn.push_back({"end", font_}); }
    void SelectFont(int font) override { font_ = font; }
    TextSize MeasureText(const std::string& text) override
    {
        return {static_cast<int>(text.size()) * fonts_.at(font_).width, fonts_.at(font_).height};
    }
    size_t FitCharacters(const char*, size_t count, int maxWidth) override
    {
        const int width = fonts_.at(font_).width;
        size_t fit = 0;
        while (fit < count && static_cast<int>(fit + 1) * width <= maxWidth)
            ++fit;
        return fit;
    }
    void DrawText(int x, int y, const char* text, size_t count) override
    {
        drawn.push_back({"text", font_, x, y, 0, 0, std::string(text, count)});
    }
    void DrawLine(int x1, int y1, int x2, int y2) override { drawn.push_back({"line", font_, x1, y1, x2, y2}); }
    bool GetLogoSize(int& width, int& height) override
    {
        width = logoWidth;
        height = logoHeight;
        return logoWidth > 0;
    }
    bool DrawLogo(int x, int y, int width, int height) override
    {
        drawn.push_back({"logo", font_, x, y, width, height});
        return logoDraws;
    }

    const Drawn* FindText(const std::string& text) const
    {
        for (const Drawn& d : drawn)
            if (d.what == "text" && d.text == text)
                return &d;
        return nullptr;
    }
    std::vector<Drawn> Texts() const
    {
        std::vector<Drawn> texts;
        for (const Drawn& d : drawn)
            if (d.what == "text")
                texts.push_back(d);
        return texts;
    }
    int Count(const std::string& what) const
    {
        int n = 0;
        for (const Drawn& d : drawn)
            n += d.what == what;
        return n;
    }

    std::vector<Drawn> drawn;
    int logoWidth = 0;
    int logoHeight = 0;
    bool logoDraws = true;

private:
    std::map<int, FakeFont> fonts_;
    int font_ = 0;
};

// Round numbers, easy to follow by hand.
std::map<int, FakeFont> SimpleFonts()
{
    return {{0, {5, 12}},  {1, {100, 200}}, {2, {20, 40}}, {3, {15, 30}},
            {4, {10, 45}}, {5, {10, 45}},   {6, {25, 60}}};
}

// Fonts as a printer of these measures would make them: Courier New is about
// 0.6 of its height wide, Times New Roman (taken as fixed here) about 0.45.
std::map<int, FakeFont> FontsFor(const PageMetrics& metrics)
{
    std::map<int, FakeFont> fonts;
    fonts[0] = {static_cast<int>(metrics.PixelsPerMmDown() * 1.5), static_cast<int>(metrics.PixelsPerMmDown() * 3)};
    for (int font = 1; font <= 6; ++font) {
        const int height = ReportFontHeight(metrics, font);
        const bool courier = std::string(kReportFontSpecs[font - 1].face) == "Courier New";
        fonts[font] = {static_cast<int>(height * (courier ? 0.6 : 0.45)), height};
    }
    return fonts;
}

// A4 at 300 dpi as Wine's cups-pdf printer reports it, and at 600 dpi.
const PageMetrics kA4At300 = {2479, 3508, 209, 297};
const PageMetrics kA4At600 = {4958, 7016, 209, 297};
// A page 1000 units wide and 2000 high, 100 x 200 mm: 10 units per mm.
const PageMetrics kTenPerMm = {1000, 2000, 100, 200};

// The one text drawn in the title font after the table.
const Drawn& VerdictLetter(const FakeCanvas& canvas)
{
    static const Drawn none;
    const Drawn* found = &none;
    for (const Drawn& d : canvas.drawn)
        if (d.what == "text" && d.font == 1)
            found = &d;
    return *found;
}

TestResult Result(TestStatus status, const std::string& name, const std::string& summary, const std::string& details)
{
    TestResult result;
    result.status = status;
    result.name = name;
    result.summary = summary;
    result.details = details;
    return result;
}

ReportPageContent Content(std::vector<TestResult> results)
{
    ReportPageContent content;
    content.dateLine = "Report Date:        2024-07-01 09:05:03 EDT";
    content.versionText = "1.0.0.0";
    content.salesAgentName = "Ann Agent";
    content.prospectName = "Pat Prospect";
    content.fingerprint = "c770d06b0515b4d207e6b1488491d8bb";
    content.results = std::move(results);
    content.verdictLetter = 'A';
    content.verdictMessage = "Your computer is suitable to run the Velmora Deposit software.";
    return content;
}

} // namespace

TEST(ReportFonts_Sizes, PerPrinterResolution)
{
    const int at300[6] = {236, 47, 41, 53, 53, 70};
    const int at600[6] = {472, 94, 82, 106, 106, 141};
    for (int font = 1; font <= 6; ++font) {
        EXPECT_EQ(ReportFontHeight(kA4At300, font), at300[font - 1]) << font;
        EXPECT_EQ(ReportFontHeight(kA4At600, font), at600[font - 1]) << font;
    }
    EXPECT_STREQ(kReportFontSpecs[0].face, "Courier New");
    EXPECT_STREQ(kReportFontSpecs[2].face, "Times New Roman");
    EXPECT_EQ(kReportFontSpecs[4].weight, 900);
    EXPECT_EQ(kReportFontSpecs[5].weight, 300);
}

TEST(ReportPage_Title, LogoFittedAndCentredOrTheProductName)
{
    // Font 1 measures "Kavlo" as 500 x 200.
    {
        FakeCanvas canvas(SimpleFonts());
        DrawReportPage(canvas, kTenPerMm, Content({}));
        const Drawn* name = canvas.FindText("Kavlo");
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(name->font, 1);
        EXPECT_EQ(name->x, 0);
        EXPECT_EQ(name->y, 0);
        EXPECT_EQ(canvas.Count("logo"), 0);
    }
    {
        FakeCanvas canvas(SimpleFonts());
        canvas.logoWidth = 400;  // 4:1, wider than the 5:2 box
        canvas.logoHeight = 100;
        DrawReportPage(canvas, kTenPerMm, Content({}));
        EXPECT_EQ(canvas.FindText("Kavlo"), nullptr);
        ASSERT_EQ(canvas.Count("logo"), 1);
        for (const Drawn& d : canvas.drawn)
            if (d.what == "logo") {
                EXPECT_EQ(d.x, 0);
                EXPECT_EQ(d.y, 37);  // (200 - 125) / 2
                EXPECT_EQ(d.x2, 500);
                EXPECT_EQ(d.y2, 125);
            }
    }
    {
        FakeCanvas canvas(SimpleFonts());
        canvas.logoWidth = 400;
        canvas.logoHeight = 100;
        canvas.logoDraws = false;
        DrawReportPage(canvas, kTenPerMm, Content({}));
        ASSERT_NE(canvas.FindText("Kavlo"), nullptr);
        EXPECT_EQ(canvas.FindText("Kavlo")->y, 0);
    }
}

TEST(ReportPage_Title, FitLogoKeepsProportions)
{
    struct Case {
        int bw, bh, w, h;
        LogoPlacement expected;
    };
    const Case cases[] = {
        {400, 100, 500, 200, {0, 37, 500, 125}},   // wider: full width
        {100, 100, 500, 200, {150, 0, 200, 200}},  // taller: full height
        {300, 120, 500, 200, {0, 0, 500, 200}},    // same proportions
        {3, 1000, 500, 200, {250, 0, 0, 200}},     // a sliver rounds to nothing
        {0, 100, 500, 200, {0, 0, 0, 0}},          // degenerate bitmap
        {100, 100, 500, 0, {0, 0, 0, 0}},          // degenerate box
    };
    for (const Case& c : cases) {
        const LogoPlacement p = FitLogo(c.bw, c.bh, c.w, c.h);
        EXPECT_EQ(p.x, c.expected.x) << c.bw << 'x' << c.bh;
        EXPECT_EQ(p.y, c.expected.y) << c.bw << 'x' << c.bh;
        EXPECT_EQ(p.width, c.expected.width) << c.bw << 'x' << c.bh;
        EXPECT_EQ(p.height, c.expected.height) << c.bw << 'x' << c.bh;
    }
}

TEST(ReportPage_Header, FiveLinesAlignedRightOfTheTitle)
{
    FakeCanvas canvas(SimpleFonts());
    ReportPageContent content = Content({});
    content.salesAgentName = "";
    content.prospectName = "";
    DrawReportPage(canvas, kTenPerMm, content);
    // x = trunc(10 * 8.466666) + 500; each line 40 lower than the one before.
    const char* lines[5] = {"Report Date:        2024-07-01 09:05:03 EDT", "Kavlo Version:      1.0.0.0",
                            "Sales Agent:        ", "Prospect Name:      ",
                            "System Fingerprint: c770d06b0515b4d207e6b1488491d8bb"};
    for (int i = 0; i < 5; ++i) {
        const Drawn* line = canvas.FindText(lines[i]);
        ASSERT_NE(line, nullptr) << lines[i];
        EXPECT_EQ(line->font, 2);
        EXPECT_EQ(line->x, 584);
        EXPECT_EQ(line->y, 40 * i);
    }
    // Every value starts in the same character column.
    for (const char* line : lines)
        EXPECT_EQ(std::string(line).find_first_not_of(' ', std::string(line).find(':') + 1) >= 20, true) << line;
}

TEST(ReportPage_Columns, LetterMovesRightWhenStatusIsWider)
{
    struct Case {
        FakeFont rowFont;   // font 4: numbers and letters of passing rows
        int numberX, letterX, testX, detailsX;
    };
    // "Status" in font 5 is 60 wide. Names "CPU" (3 chars) and "Memory" (6).
    const Case cases[] = {
        // U = L = 10: 10 + 20 < 60, so the letter ends under "Status" (at 70).
        {{10, 45}, 10, 60, 80, 150},
        // U = L = 25: 25 + 50 >= 60, the plain layout: gap U each side.
        {{25, 45}, 25, 75, 125, 125 + 150 + 25},
    };
    for (const Case& c : cases) {
        auto fonts = SimpleFonts();
        fonts[4] = c.rowFont;
        FakeCanvas canvas(fonts);
        DrawReportPage(canvas, kTenPerMm, Content({Result('A', "CPU", "x", "y"), Result('I', "Memory", "x", "y")}));
        EXPECT_EQ(canvas.FindText("Status")->x, c.numberX);
        EXPECT_EQ(canvas.FindText("1")->x, c.numberX);
        EXPECT_EQ(canvas.FindText("A")->x, c.letterX);
        EXPECT_EQ(canvas.FindText("I")->x, c.letterX);
        EXPECT_EQ(canvas.FindText("Test")->x, c.testX);
        EXPECT_EQ(canvas.FindText("Memory")->x, c.testX);
        EXPECT_EQ(canvas.FindText("Details")->x, c.detailsX);
    }
}

TEST(ReportPage_Rows, HeightsRulesAndFonts)
{
    FakeCanvas canvas(SimpleFonts());
    DrawReportPage(canvas, kTenPerMm,
                   Content({Result('A', "Memory", "2048 MB", "enough"), Result('A', "CPU", "x86", "fast")}));
    // Table top: header bottom 200 (title 200 too) + trunc(10 * 6.35) = 263.
    EXPECT_EQ(canvas.FindText("Status")->y, 263);
    EXPECT_EQ(canvas.FindText("Status")->font, 5);
    // Line unit 12 from the context's own font; row gap 8.
    std::vector<Drawn> lines;
    for (const Drawn& d : canvas.drawn)
        if (d.what == "line")
            lines.push_back(d);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].y, 275);
    EXPECT_EQ(lines[0].x, 0);
    EXPECT_EQ(lines[0].x2, 1000);
    // Row 1 at 287: summary (font 4, 45) and details (font 3, 30) and the gap.
    EXPECT_EQ(canvas.FindText("1")->y, 287);
    EXPECT_EQ(canvas.FindText("2048 MB")->y, 287);
    EXPECT_EQ(canvas.FindText("2048 MB")->font, 4);
    EXPECT_EQ(canvas.FindText("enough")->y, 332);
    EXPECT_EQ(canvas.FindText("enough")->font, 3);
    EXPECT_EQ(canvas.FindText("2")->y, 287 + 45 + 30 + 8);
    const int afterRows = 287 + 2 * (45 + 30 + 8);
    EXPECT_EQ(lines[1].y, afterRows);
    // Verdict letter in font 1 at the left, message in font 6 at the test column.
    EXPECT_EQ(canvas.FindText("A")->font, 4);
    const Drawn& verdict = VerdictLetter(canvas);
    EXPECT_EQ(verdict.text, "A");
    EXPECT_EQ(verdict.x, 0);
    EXPECT_EQ(verdict.y, afterRows + 8);
    // The message wraps at the page's right margin (1000 - 40) in font 6.
    const Drawn* message = canvas.FindText("Your computer is suitable to run ");
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->font, 6);
    EXPECT_EQ(message->x, canvas.FindText("Test")->x);
    EXPECT_EQ(message->y, afterRows + 8);
    EXPECT_NE(canvas.FindText("the Velmora Deposit software."), nullptr);
    EXPECT_EQ(canvas.drawn.back().what, "end");
    EXPECT_EQ(canvas.drawn.back().font, 5);
}

TEST(ReportPage_Rows, EmptyTextsStillTakeOneLine)
{
    FakeCanvas canvas(SimpleFonts());
    DrawReportPage(canvas, kTenPerMm, Content({Result('A', "a", "", ""), Result('A', "b", "", "")}));
    EXPECT_EQ(canvas.FindText("2")->y - canvas.FindText("1")->y, 45 + 30 + 8);
}

TEST(ReportPage_Rows, FailedRowBoldWithAsterisksUpToTheDetails)
{
    FakeCanvas canvas(SimpleFonts());
    DrawReportPage(canvas, kTenPerMm,
                   Content({Result('A', "Memory", "ok", ""), Result('F', "USB 2.0", "None", ""),
                            Result('I', "CPU", "x86", "")}));
    // U = L = 10, letter x 60, test x 80, names up to 7 chars: details x 160.
    const Drawn* letter = canvas.FindText("F");
    ASSERT_NE(letter, nullptr);
    EXPECT_EQ(letter->font, 5);
    EXPECT_EQ(canvas.FindText("USB 2.0")->font, 5);
    EXPECT_EQ(canvas.FindText("Memory")->font, 4);
    EXPECT_EQ(canvas.FindText("2")->font, 4);
    int asteriskLines = 0;
    for (const Drawn& d : canvas.Texts()) {
        if (d.text.find('*') == std::string::npos)
            continue;
        ++asteriskLines;
        EXPECT_EQ(d.text, std::string(10, '*'));  // (160 - 60) / 10
        EXPECT_EQ(d.font, 5);
        EXPECT_EQ(d.x, 60);
        EXPECT_EQ(d.y, letter->y + 12);
    }
    EXPECT_EQ(asteriskLines, 1);
    // The summary after a failed row is in the row font again.
    EXPECT_EQ(canvas.FindText("None")->font, 4);
    EXPECT_EQ(VerdictLetter(canvas).text, "A");  // the content's letter, whatever the rows
}

TEST(ReportPage_Rows, AsterisksStopAtFortyOne)
{
    FakeCanvas canvas(SimpleFonts());
    DrawReportPage(canvas, kTenPerMm, Content({Result('F', std::string(60, 'N'), "", "")}));
    for (const Drawn& d : canvas.Texts()) {
        if (d.text.find('*') != std::string::npos) {
            EXPECT_EQ(d.text.size(), 41u);
        }
    }
}

TEST(ReportPage_OnePage, ManyLongRowsRunOffTheOnePage)
{
    std::vector<TestResult> results;
    for (int i = 0; i < 18; ++i)
        results.push_back(Result('A', "Check", "summary", std::string(400, 'w') + " " + std::string(400, 'x')));
    FakeCanvas canvas(SimpleFonts());
    DrawReportPage(canvas, kTenPerMm, Content(results));
    EXPECT_EQ(canvas.Count("start"), 1);
    EXPECT_EQ(canvas.Count("end"), 1);
    EXPECT_EQ(canvas.drawn.front().what, "start");
    EXPECT_EQ(canvas.drawn.back().what, "end");
    // The rows below the page's 2000 units are drawn there and clipped by the printer.
    EXPECT_GT(canvas.FindText("18")->y, 2000);
}

TEST(ReportPage_TwoPrinters, EachLaidOutInItsOwnUnits)
{
    std::vector<TestResult> results = {Result('A', "Memory", "2048 MB", "enough"), Result('F', "USB 2.0", "None", "")};
    FakeCanvas at300(FontsFor(kA4At300));
    DrawReportPage(at300, kA4At300, Content(results));
    FakeCanvas at600(FontsFor(kA4At600));
    DrawReportPage(at600, kA4At600, Content(results));

    // Title "Kavlo" in font 1: 5 x trunc(236 * 0.6) = 705 and 5 x 283 = 1415.
    // Header x = trunc(pixels per mm across x 8.466666) + that width.
    EXPECT_EQ(at300.FindText("Kavlo Version:      1.0.0.0")->x, 100 + 705);
    EXPECT_EQ(at600.FindText("Kavlo Version:      1.0.0.0")->x, 200 + 1415);
    EXPECT_EQ(at300.FindText("Kavlo Version:      1.0.0.0")->y, 47);
    EXPECT_EQ(at600.FindText("Kavlo Version:      1.0.0.0")->y, 94);
    // Rules span each page's own width.
    for (const Drawn& d : at300.drawn) {
        if (d.what == "line") {
            EXPECT_EQ(d.x2, 2479);
        }
    }
    for (const Drawn& d : at600.drawn) {
        if (d.what == "line") {
            EXPECT_EQ(d.x2, 4958);
        }
    }
    // Table top: the title (236) is taller than the header (5 x 47), + trunc(11.81 x 6.35) = 75.
    EXPECT_EQ(at300.FindText("Status")->y, 236 + 75);
    EXPECT_EQ(at600.FindText("Status")->y, 472 + 150);
}

TEST(DrawWrappedText_Breaks, AtBlanksLineBreaksAndNarrowColumns)
{
    struct Case {
        const char* name;
        std::string text;
        int width;                          // in characters of 10 units
        std::vector<std::string> lines;     // "" for a line left empty
        int bottom;                         // returned y, lines of 20 from 100
    };
    const Case cases[] = {
        {"empty", "", 10, {}, 120},
        {"fits", "short text", 10, {"short text"}, 120},
        {"at blanks", "the quick brown fox jumps", 10, {"the quick ", "brown fox ", "jumps"}, 160},
        {"blank exactly at the edge", "abcdefghi jkl", 10, {"abcdefghi ", "jkl"}, 140},
        {"CR LF leaves an empty line", "one\r\ntwo", 10, {"one", "", "two"}, 160},
        {"LF alone", "one\ntwo", 10, {"one", "two"}, 140},
        {"final line feed", "one\n", 10, {"one"}, 120},
        {"break before the blank", "ab\ncd ef gh ij", 10, {"ab", "cd ef gh ", "ij"}, 160},
        {"run without blanks breaks where it stops fitting", "abcdefghijklmnopqrstuvwxy", 10,
         {"abcdefghij", "klmnopqrst", "uvwxy"}, 160},
        {"narrower than one character", "abc", 0, {"a", "b", "c"}, 160},
        {"negative width", "ab", -50, {"a", "b"}, 140},
        // The line feed is not within the first one-character line, so it ends one of its own.
        {"narrow column and a line break", "a\nb", 0, {"a", "", "b"}, 160},
    };
    for (const Case& c : cases) {
        FakeCanvas canvas({{0, {10, 20}}});
        const int bottom = DrawWrappedText(canvas, c.text, 50, 50 + 10 * c.width, 100);
        EXPECT_EQ(bottom, c.bottom) << c.name;
        // Drawn lines by their y; an empty line is drawn as nothing.
        std::vector<std::string> lines;
        for (const Drawn& d : canvas.Texts()) {
            EXPECT_EQ(d.x, 50) << c.name;
            const size_t row = static_cast<size_t>((d.y - 100) / 20);
            if (lines.size() <= row)
                lines.resize(row + 1);
            lines[row] = d.text;
        }
        if (!c.lines.empty())
            lines.resize(c.lines.size());
        EXPECT_EQ(lines, c.lines) << c.name;
    }
}

TEST(DrawWrappedText_Breaks, LongDetailsWrapAtBlanksWithinTheColumn)
{
    const std::string details =
        "Windows Update is set to download updates but let the user choose whether to install them. "
        "Automatic installation is recommended.";
    FakeCanvas canvas({{0, {10, 20}}});
    DrawWrappedText(canvas, details, 0, 300, 0);
    std::string joined;
    const std::vector<Drawn> lines = canvas.Texts();
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_LE(lines[i].text.size(), 30u);
        if (i + 1 < lines.size()) {
            EXPECT_EQ(lines[i].text.back(), ' ') << lines[i].text;
        }
        joined += lines[i].text;
    }
    EXPECT_EQ(joined, details);
    EXPECT_EQ(canvas.Texts().size(), 5u);
}
