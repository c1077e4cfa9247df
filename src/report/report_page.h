// The printed one-page report: fonts, page measures and the layout.
#pragma once

#include "app/test_result.h"
#include "report/report_canvas.h"

#include <string>
#include <vector>

struct ReportFontSpec {
    double heightMm;
    int weight;            // 0: the face's default
    const char* face;
};

// The six report fonts, numbered 1 to 6 in this order: title, header lines,
// details, row text, headings and failed rows, verdict message.
extern const ReportFontSpec kReportFontSpecs[6];

// What GetDeviceCaps tells about the printer.
struct PageMetrics {
    int horzRes = 0;     // device units across
    int vertRes = 0;
    int horzSizeMm = 0;
    int vertSizeMm = 0;

    // A driver may answer 0 for the size; the page cannot be measured then.
    bool HasPageSize() const { return horzSizeMm > 0 && vertSizeMm > 0; }
    double PixelsPerMmAcross() const { return static_cast<double>(horzRes) / horzSizeMm; }
    double PixelsPerMmDown() const { return static_cast<double>(vertRes) / vertSizeMm; }
};

// Height in device units of report font `font` (1 to 6) on this printer.
int ReportFontHeight(const PageMetrics& metrics, int font);

struct ReportPageContent {
    std::string dateLine;        // "Report Date:        ..."
    std::string versionText;
    std::string salesAgentName;
    std::string prospectName;
    std::string fingerprint;
    std::vector<TestResult> results;
    TestStatus verdictLetter = 'A';
    std::string verdictMessage;
};

struct LogoPlacement {
    int x = 0, y = 0, width = 0, height = 0;
};

// The logo fitted into a W x H box keeping its proportions, centred.
LogoPlacement FitLogo(int bitmapWidth, int bitmapHeight, int boxWidth, int boxHeight);

// Draws `text` between `left` and `right` from `top` in the selected font,
// breaking after blanks and at CR and LF; returns the y below it.
int DrawWrappedText(ReportCanvas& canvas, const std::string& text, int left, int right, int top);

// The whole page, between StartPage and EndPage; nothing goes to a second page.
void DrawReportPage(ReportCanvas& canvas, const PageMetrics& metrics, const ReportPageContent& content);
