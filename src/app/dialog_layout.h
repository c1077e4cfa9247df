// The edge arithmetic of the dialog resizer: where each child goes when the
// dialog's outer size changes.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

struct LayoutRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool operator==(const LayoutRect& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// One control's factors (0 keeps an edge, 1 moves it by the full change, a
// share in between places it from the initial layout); negative: not set.
struct EdgeFactors {
    double left = -1.0;
    double right = -1.0;
    double top = -1.0;
    double bottom = -1.0;
};

struct ControlRule {
    EdgeFactors factors;
    LayoutRect initial;  // in the dialog's client coordinates, when the rule was made
};

struct DialogSizes {
    int32_t initialWidth = 0, initialHeight = 0;
    int32_t lastWidth = 0, lastHeight = 0;
    int32_t newWidth = 0, newHeight = 0;
    int32_t horizontalSplitPercent = 50;
    int32_t verticalSplitPercent = 67;
};

// A factor of 0.99999 or more is stored as exactly 1.
double SnapToOne(double factor);

// The new rectangle of one child. `keepsSize`: a push button (it moves but
// does not stretch). `rule` may be null.
LayoutRect LayOutChild(const DialogSizes& sizes, const LayoutRect& current, bool keepsSize, const ControlRule* rule);

// Left and right factors of controls side by side that share the extra width
// in proportion to their widths.
std::vector<std::pair<double, double>> HorizontalGroupFactors(const std::vector<int32_t>& widths);

// Vertical modes: 1 stays put, 2 moves with the bottom edge, 3 stretches.
void ApplyVerticalMode(EdgeFactors& factors, int mode);
