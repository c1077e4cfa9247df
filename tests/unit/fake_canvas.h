// A canvas with fixed metrics that keeps what is drawn on it.
#pragma once

#include "report/report_canvas.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

// Every character of font f is fonts[f].width wide; font 0 is the context's own font before any
// report font. Each drawing is kept as "font x,y text", "line x1,y1-x2,y2" or "logo x,y wxh".
class FakeCanvas : public ReportCanvas {
public:
    explicit FakeCanvas(std::map<int, TextSize> fonts) : fonts_(std::move(fonts)) {}
    void StartPage() override { drawn.push_back("start"); }
    void EndPage() override { drawn.push_back("end"); }
    void SelectFont(int font) override { font_ = font; }
    TextSize MeasureText(const std::string& text) override { return {int(text.size()) * Font().width, Font().height}; }
    size_t FitCharacters(const char*, size_t count, int maxWidth) override
    {
        return std::min(count, size_t(std::max(maxWidth, 0) / Font().width));
    }
    void DrawText(int x, int y, const char* text, size_t n) override { Record("%d %d,%d ", font_, x, y, 0, {text, n}); }
    void DrawLine(int x1, int y1, int x2, int y2) override { Record("line %d,%d-%d,%d", x1, y1, x2, y2); }
    bool GetLogoSize(int& width, int& height) override { return width = logoWidth, height = logoHeight, width > 0; }
    bool DrawLogo(int x, int y, int w, int h) override { return Record("logo %d,%d %dx%d", x, y, w, h); }
    long Count(const std::string& item) const { return std::count(drawn.begin(), drawn.end(), item); }

    std::vector<std::string> drawn;
    int logoWidth = 0, logoHeight = 0;

private:
    bool Record(const char* format, int a, int b, int c, int d, const std::string& text = "")
    {
        char item[64];
        std::snprintf(item, sizeof(item), format, a, b, c, d);
        drawn.push_back(item + text);
        return true;
    }
    TextSize Font() const { return fonts_.at(font_); }
    std::map<int, TextSize> fonts_;
    int font_ = 0;
};
