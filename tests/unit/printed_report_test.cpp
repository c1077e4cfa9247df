#include "report/print_job.h"
#include "report/report_canvas.h"
#include "report/report_page.h"
#include "fake_canvas.h"

#include <gtest/gtest.h>

namespace {

// Round numbers on a page 1000 x 2000 units, 100 x 200 mm: 10 units per mm.
const std::map<int, TextSize> kFonts = {{0, {5, 12}},  {1, {100, 200}}, {2, {20, 40}}, {3, {15, 30}},
                                        {4, {10, 45}}, {5, {10, 45}},   {6, {25, 60}}};
const PageMetrics kTenPerMm = {1000, 2000, 100, 200};
const PageMetrics kA4At300 = {2479, 3508, 209, 297}, kA4At600 = {4958, 7016, 209, 297};

ReportPageContent Content(std::vector<TestResult> results)
{
    return {"Report Date:        2024-07-01 09:05:03 EDT", "1.0.0.0", "Ann Agent", "",
            "c770d06b0515b4d207e6b1488491d8bb", std::move(results), 'A',
            "Your computer is suitable to run the Velmora Deposit software."};
}


// Answers as scripted and writes down each step taken, in order.
struct ScriptedPrintJob : PrintJobSteps {
    bool names = true, printer = true, bitmaps = true;
    int startDoc = 1, endDoc = 1;
    PageMetrics metrics = kTenPerMm;
    std::string steps;

    bool Step(const std::string& step, bool answer = true) { return steps += step + ";", answer; }
    bool AskForNames() override { return Step("names", names); }
    bool ChoosePrinter() override { return Step("printer", printer); }
    bool PrinterCanDrawBitmaps() override { return Step("bitmaps", bitmaps); }
    PageMetrics PrinterPageMetrics() override { return metrics; }
    void ReleasePrinter() override { Step("release"); }
    void ShowErrorBox(const char* text, const char* caption) override { Step(std::string(caption) + ": " + text); }
    void EnableOwner(bool enable) override { Step(enable ? "enable" : "disable"); }
    int StartDocument() override { return Step("startdoc"), startDoc; }
    void PrintPage() override { Step("page"); }
    int EndDocument() override { return Step("enddoc"), endDoc; }
};

} // namespace

TEST(ReportPage_Layout, HeaderRowsFailedRowAndVerdict)
{
    FakeCanvas canvas(kFonts);
    DrawReportPage(canvas, kTenPerMm,
                   Content({{nullptr, 'A', "Memory", "2048 MB", "enough"}, {nullptr, 'F', "USB 2.0", "", ""},
                            {nullptr, 'I', "CPU", "x86", "fast"}}));
    // Header x = trunc(10 x 8.466666) + the 500 of "Kavlo" in font 1. "Status" (60) is wider than
    // number + gap + letter (30), so the letter ends under its end. Table top 200 + trunc(10 x 6.35);
    // line unit 12 (font 0), row gap 8; a row is summary (45) + details (30) + gap, empty or not.
    const std::vector<std::string> expected = {
        "start", "1 0,0 Kavlo", "2 584,0 Report Date:        2024-07-01 09:05:03 EDT",
        "2 584,40 Kavlo Version:      1.0.0.0", "2 584,80 Sales Agent:        Ann Agent",
        "2 584,120 Prospect Name:      ", "2 584,160 System Fingerprint: c770d06b0515b4d207e6b1488491d8bb",
        "5 10,263 Status", "5 80,263 Test", "5 160,263 Details", "line 0,275-1000,275",
        "4 10,287 1", "4 60,287 A", "4 80,287 Memory", "4 160,287 2048 MB", "3 160,332 enough",
        "4 10,370 2", "5 60,370 F", "5 80,370 USB 2.0", "5 60,382 **********",
        "4 10,453 3", "4 60,453 I", "4 80,453 CPU", "4 160,453 x86", "3 160,498 fast", "line 0,536-1000,536",
        "1 0,544 A", "6 80,544 Your computer is suitable to run ", "6 80,604 the Velmora Deposit software.", "end"};
    EXPECT_EQ(canvas.drawn, expected);
}

TEST(ReportPage_Layout, LogoAndPlainColumnsWhenStatusIsNarrower)
{
    auto fonts = kFonts;
    fonts[4] = {25, 45};  // 25 + 2 x 25 >= 60: a gap of one number width each side
    FakeCanvas canvas(fonts);
    canvas.logoWidth = 400;  // 4:1 into the 500 x 200 of "Kavlo": full width, centred
    canvas.logoHeight = 100;
    DrawReportPage(canvas, kTenPerMm, Content({{nullptr, 'A', "CPU", "x", "y"}, {nullptr, 'I', "Memory", "x", "y"}}));
    EXPECT_EQ(canvas.drawn[1], "logo 0,37 500x125");
    for (const char* item :
         {"5 25,263 Status", "5 125,263 Test", "5 300,263 Details", "4 75,287 A", "4 75,370 I", "4 125,370 Memory"})
        EXPECT_EQ(canvas.Count(item), 1) << item;
    EXPECT_EQ(FitLogo(100, 100, 500, 200).x, 150);  // a taller logo takes the height
}

TEST(ReportPage_Fonts, FaceWeightAndHeightOfEach)
{
    // Font 5, that of the headings and of a failed row's letter, name and asterisks, is the bold one.
    const std::tuple<std::string, int, int, int> fonts[] = {  // face, weight, height at 300 and 600 dpi
        {"Courier New", 0, 236, 472}, {"Courier New", 0, 47, 94},     {"Times New Roman", 0, 41, 82},
        {"Courier New", 0, 53, 106},  {"Courier New", 900, 53, 106}, {"Times New Roman", 300, 70, 141}};
    for (int font = 1; font <= 6; ++font) {
        const ReportFontSpec& spec = kReportFontSpecs[font - 1];
        EXPECT_EQ(std::make_tuple(spec.face, spec.weight, ReportFontHeight(kA4At300, font),
                                  ReportFontHeight(kA4At600, font)),
                  fonts[font - 1]) << font;
    }
}

TEST(DrawWrappedText_Breaks, AtBlanksLineBreaksAndNarrowColumns)
{
    // The column's width in characters of 10 units; lines of 20 from y 100.
    const std::tuple<std::string, int, int, std::vector<std::string>> cases[] = {  // text, width, bottom
        {"", 10, 120, {}},
        {"the quick brown fox jumps", 10, 160, {"0 50,100 the quick ", "0 50,120 brown fox ", "0 50,140 jumps"}},
        {"one\r\ntwo", 10, 160, {"0 50,100 one", "0 50,140 two"}},  // CR LF leaves an empty line
        {"abcdefghijklmnopqrstuvwxy", 10, 160, {"0 50,100 abcdefghij", "0 50,120 klmnopqrst", "0 50,140 uvwxy"}},
        // However narrow the column, every line takes at least one character.
        {"abc", 0, 160, {"0 50,100 a", "0 50,120 b", "0 50,140 c"}},
    };
    for (const auto& [text, width, bottom, drawn] : cases) {
        FakeCanvas canvas({{0, {10, 20}}});
        EXPECT_EQ(DrawWrappedText(canvas, text, 50, 50 + 10 * width, 100), bottom) << text;
        EXPECT_EQ(canvas.drawn, drawn) << text;
    }
}

TEST(PrintJob_Sequence, EveryPathAndErrorBox)
{
    const char* const refused = "names;printer;bitmaps;release;Device Error: Printer cannot display bitmaps.;";
    const std::tuple<void (*)(ScriptedPrintJob&), bool, const char*> cases[] = {  // script, printed, steps
        {[](ScriptedPrintJob&) {}, true, "names;printer;bitmaps;disable;startdoc;page;enddoc;enable;release;"},
        {[](ScriptedPrintJob& j) { j.names = false; }, false, "names;"},
        {[](ScriptedPrintJob& j) { j.bitmaps = false; }, false, refused},
        // A driver that gives no page size in millimetres is refused the same way.
        {[](ScriptedPrintJob& j) { j.metrics.horzSizeMm = 0; }, false, refused},
        {[](ScriptedPrintJob& j) { j.metrics.vertSizeMm = 0; }, false, refused},
        {[](ScriptedPrintJob& j) { j.startDoc = 0; }, true,
         "names;printer;bitmaps;disable;startdoc;error: StartDoc;enable;release;"},
        {[](ScriptedPrintJob& j) { j.endDoc = 0; }, true,  // any answer of 0 or less fails
         "names;printer;bitmaps;disable;startdoc;page;enddoc;error: EndDoc failed;enable;release;"},
    };
    for (const auto& [script, printed, steps] : cases) {
        ScriptedPrintJob job;
        script(job);
        EXPECT_EQ(RunPrintJob(job), printed) << steps;
        EXPECT_EQ(job.steps, steps);
    }
}
