#include "report/report_page.h"

#include "app/text_format.h"

#include <algorithm>

const ReportFontSpec kReportFontSpecs[6] = {
    {20.0, 0, "Courier New"},      // 1 title: product name, logo box, verdict letter
    {4.0, 0, "Courier New"},       // 2 header lines
    {3.5, 0, "Times New Roman"},   // 3 details text of a row
    {4.5, 0, "Courier New"},       // 4 row text
    {4.5, 900, "Courier New"},     // 5 column headings, failed rows, asterisks
    {6.0, 300, "Times New Roman"}, // 6 verdict message
};

namespace {

const char kProductName[] = "Kavlo";
const char kAsterisks[] = "*****************************************";

// Page measures in millimetres of the page.
const double kHeaderOffsetMm = 8.466666;
const double kRightMarginMm = 4.0;
const double kGapAboveTableMm = 6.35;

enum ReportFont { kTitleFont = 1, kHeaderFont, kDetailsFont, kRowFont, kBoldRowFont, kVerdictFont };

// "%c" of a status letter; a zero byte ends the text at once.
std::string LetterText(TestStatus letter)
{
    return letter == '\0' ? std::string() : std::string(1, letter);
}

bool IsPassingLetter(TestStatus letter)
{
    return letter == 'A' || letter == 'I';
}

void Draw(ReportCanvas& canvas, int x, int y, const std::string& text)
{
    canvas.DrawText(x, y, text.data(), text.size());
}

} // namespace

int ReportFontHeight(const PageMetrics& metrics, int font)
{
    return static_cast<int>(metrics.PixelsPerMmDown() * kReportFontSpecs[font - 1].heightMm);
}

LogoPlacement FitLogo(int bitmapWidth, int bitmapHeight, int boxWidth, int boxHeight)
{
    LogoPlacement placement;
    if (bitmapWidth <= 0 || bitmapHeight <= 0 || boxWidth <= 0 || boxHeight <= 0)
        return placement;
    const double bitmapRatio = static_cast<double>(bitmapWidth) / bitmapHeight;
    const double boxRatio = static_cast<double>(boxWidth) / boxHeight;
    if (bitmapRatio > boxRatio) {
        placement.width = boxWidth;
        placement.height = static_cast<int>(boxWidth / bitmapRatio);
    } else {
        placement.height = boxHeight;
        placement.width = static_cast<int>(boxHeight * bitmapRatio);
    }
    placement.x = (boxWidth - placement.width) / 2;
    placement.y = (boxHeight - placement.height) / 2;
    return placement;
}

int DrawWrappedText(ReportCanvas& canvas, const std::string& text, int left, int right, int top)
{
    const int lineHeight = canvas.MeasureText("A").height;
    if (text.empty())
        return top + lineHeight;

    const char* start = text.data();
    size_t remaining = text.size();
    int y = top;
    for (;;) {
        size_t fit = std::min(canvas.FitCharacters(start, remaining, right - left), remaining);
        // Even a column too narrow for one character takes one per line, so
        // the text always moves on.
        if (fit == 0)
            fit = 1;
        if (fit < remaining && fit >= 2) {
            size_t atBlank = fit;
            while (atBlank > 1 && start[atBlank - 1] != ' ')
                --atBlank;
            // A run without blanks wider than the column breaks at the last
            // character that fits rather than one character per line.
            if (start[atBlank - 1] == ' ')
                fit = atBlank;
        }
        size_t consumed = fit;
        for (size_t i = 0; i < fit; ++i) {
            if (start[i] == '\n' || start[i] == '\r') {
                fit = i;
                consumed = i + 1;
                break;
            }
        }
        if (fit > 0)
            canvas.DrawText(left, y, start, fit);
        if (consumed == remaining)
            break;
        y += lineHeight;
        start += consumed;
        remaining -= consumed;
    }
    return y + lineHeight;
}

void DrawReportPage(ReportCanvas& canvas, const PageMetrics& metrics, const ReportPageContent& content)
{
    const int pageWidth = metrics.horzRes;
    const double acrossPerMm = metrics.PixelsPerMmAcross();
    const double downPerMm = metrics.PixelsPerMmDown();
    // The line unit is measured in the context's own font, before any report font.
    const int lineUnit = canvas.MeasureText("A").height;
    const int rowGap = (2 * lineUnit) / 3;

    canvas.StartPage();

    // Title box: the logo fitted into the size of the product name in font 1.
    canvas.SelectFont(kTitleFont);
    const TextSize titleBox = canvas.MeasureText(kProductName);
    int logoWidth = 0;
    int logoHeight = 0;
    bool logoDrawn = false;
    if (canvas.GetLogoSize(logoWidth, logoHeight)) {
        const LogoPlacement logo = FitLogo(logoWidth, logoHeight, titleBox.width, titleBox.height);
        logoDrawn = canvas.DrawLogo(logo.x, logo.y, logo.width, logo.height);
    }
    if (!logoDrawn)
        Draw(canvas, 0, 0, kProductName);

    // Header: five lines whose labels are padded so the values line up.
    canvas.SelectFont(kHeaderFont);
    const int headerX = static_cast<int>(acrossPerMm * kHeaderOffsetMm) + titleBox.width;
    const std::string headerLines[5] = {
        content.dateLine,
        FormatBounded(512, "Kavlo Version:      %s", content.versionText.c_str()),
        FormatBounded(512, "Sales Agent:        %s", content.salesAgentName.c_str()),
        FormatBounded(512, "Prospect Name:      %s", content.prospectName.c_str()),
        FormatBounded(512, "System Fingerprint: %s", content.fingerprint.c_str()),
    };
    int headerBottom = 0;
    for (const std::string& line : headerLines) {
        Draw(canvas, headerX, headerBottom, line);
        headerBottom += canvas.MeasureText(line).height;
    }

    // Column widths: the widest name, number and letter, each in its row's font.
    canvas.SelectFont(kBoldRowFont);
    const int statusWidth = canvas.MeasureText("Status").width;
    int nameWidth = 0;
    int numberWidth = 0;
    int letterWidth = 0;
    unsigned number = 0;
    for (const TestResult& result : content.results) {
        ++number;
        canvas.SelectFont(IsPassingLetter(result.status) ? kRowFont : kBoldRowFont);
        nameWidth = std::max(nameWidth, canvas.MeasureText(result.name).width);
        numberWidth = std::max(numberWidth, canvas.MeasureText(FormatBounded(512, "%u", number)).width);
        letterWidth = std::max(letterWidth, canvas.MeasureText(LetterText(result.status)).width);
    }

    const int numberX = numberWidth;
    // When "Status" is wider than number, gap and letter, the letter moves
    // right so that it ends under the end of the heading.
    int pad = numberWidth;
    if (letterWidth + 2 * numberWidth < statusWidth)
        pad = statusWidth - letterWidth - numberWidth;
    const int letterX = pad + 2 * numberWidth;
    const int testX = letterX + letterWidth + numberWidth;
    const int detailsX = testX + nameWidth + numberWidth;
    const int textRight = pageWidth - static_cast<int>(acrossPerMm * kRightMarginMm);
    const int tableTop = std::max(titleBox.height, headerBottom) + static_cast<int>(downPerMm * kGapAboveTableMm);

    canvas.SelectFont(kBoldRowFont);
    Draw(canvas, numberX, tableTop, "Status");
    Draw(canvas, testX, tableTop, "Test");
    Draw(canvas, detailsX, tableTop, "Details");

    canvas.SelectFont(kRowFont);
    int y = tableTop + lineUnit;
    canvas.DrawLine(0, y, pageWidth, y);
    y += lineUnit;

    number = 0;
    for (const TestResult& result : content.results) {
        ++number;
        canvas.SelectFont(kRowFont);
        Draw(canvas, numberX, y, FormatBounded(512, "%u", number));
        if (IsPassingLetter(result.status)) {
            Draw(canvas, letterX, y, LetterText(result.status));
            Draw(canvas, testX, y, result.name);
        } else {
            canvas.SelectFont(kBoldRowFont);
            Draw(canvas, letterX, y, LetterText(result.status));
            Draw(canvas, testX, y, result.name);
            const size_t stars = canvas.FitCharacters(kAsterisks, sizeof(kAsterisks) - 1, detailsX - letterX);
            canvas.DrawText(letterX, y + lineUnit, kAsterisks, std::min(stars, sizeof(kAsterisks) - 1));
            canvas.SelectFont(kRowFont);
        }
        y = DrawWrappedText(canvas, result.summary, detailsX, textRight, y);
        canvas.SelectFont(kDetailsFont);
        y = DrawWrappedText(canvas, result.details, detailsX, textRight, y);
        y += rowGap;
    }

    canvas.DrawLine(0, y, pageWidth, y);
    y += rowGap;

    canvas.SelectFont(kTitleFont);
    Draw(canvas, 0, y, LetterText(content.verdictLetter));
    canvas.SelectFont(kVerdictFont);
    DrawWrappedText(canvas, content.verdictMessage, testX, textRight, y);

    canvas.SelectFont(kBoldRowFont);
    canvas.EndPage();
}
