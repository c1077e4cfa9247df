// What the printed page needs from a drawing surface. GDI implements it on
// the printer's context; the tests fake it with fixed metrics.
#pragma once

#include <cstddef>
#include <string>

struct TextSize {
    int width = 0;
    int height = 0;
};

class ReportCanvas {
public:
    virtual ~ReportCanvas() = default;

    virtual void StartPage() = 0;
    virtual void EndPage() = 0;
    // 1 to 6, the rows of the report font table.
    virtual void SelectFont(int font) = 0;
    virtual TextSize MeasureText(const std::string& text) = 0;
    // How many of the first `count` characters fit in `maxWidth`.
    virtual size_t FitCharacters(const char* text, size_t count, int maxWidth) = 0;
    virtual void DrawText(int x, int y, const char* text, size_t count) = 0;
    virtual void DrawLine(int x1, int y1, int x2, int y2) = 0;
    // False when there is no logo.
    virtual bool GetLogoSize(int& width, int& height) = 0;
    // Stretches the whole logo into the rectangle; false when that failed.
    virtual bool DrawLogo(int x, int y, int width, int height) = 0;
};
