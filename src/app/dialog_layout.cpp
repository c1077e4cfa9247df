#include "app/dialog_layout.h"

double SnapToOne(double factor)
{
    return factor >= 0.99999 ? 1.0 : factor;
}

namespace {

int32_t MoveEdge(double factor, int32_t current, int32_t initial, int32_t deltaLast, int32_t deltaInitial)
{
    if (factor == 0.0)
        return current;
    if (factor == 1.0)
        return current + deltaLast;
    return initial + static_cast<int32_t>(static_cast<double>(deltaInitial) * factor);
}

} // namespace

LayoutRect LayOutChild(const DialogSizes& s, const LayoutRect& current, bool keepsSize, const ControlRule* rule)
{
    const int32_t xSplit = static_cast<int32_t>(static_cast<int64_t>(s.lastWidth) * s.horizontalSplitPercent / 100);
    const int32_t ySplit = static_cast<int32_t>(static_cast<int64_t>(s.lastHeight) * s.verticalSplitPercent / 100);

    EdgeFactors f;
    f.left = current.left >= xSplit ? 1.0 : 0.0;
    f.right = current.right >= xSplit ? 1.0 : 0.0;
    f.top = current.top >= ySplit ? 1.0 : 0.0;
    f.bottom = current.bottom >= ySplit ? 1.0 : 0.0;

    if (keepsSize) {
        // The side of the split that holds more of the button decides.
        if (xSplit - current.left < current.right - xSplit)
            f.left = f.right;
        else
            f.right = f.left;
        if (ySplit - current.top < current.bottom - ySplit)
            f.top = f.bottom;
        else
            f.bottom = f.top;
    }

    LayoutRect initial = current;
    if (rule != nullptr) {
        initial = rule->initial;
        if (rule->factors.left >= 0)
            f.left = rule->factors.left;
        if (rule->factors.right >= 0)
            f.right = rule->factors.right;
        if (rule->factors.top >= 0)
            f.top = rule->factors.top;
        if (rule->factors.bottom >= 0)
            f.bottom = rule->factors.bottom;
    }

    const int32_t dxLast = s.newWidth - s.lastWidth;
    const int32_t dyLast = s.newHeight - s.lastHeight;
    const int32_t dxInit = s.newWidth - s.initialWidth;
    const int32_t dyInit = s.newHeight - s.initialHeight;

    LayoutRect moved;
    moved.left = MoveEdge(f.left, current.left, initial.left, dxLast, dxInit);
    moved.right = MoveEdge(f.right, current.right, initial.right, dxLast, dxInit);
    moved.top = MoveEdge(f.top, current.top, initial.top, dyLast, dyInit);
    moved.bottom = MoveEdge(f.bottom, current.bottom, initial.bottom, dyLast, dyInit);
    return moved;
}

std::vector<std::pair<double, double>> HorizontalGroupFactors(const std::vector<int32_t>& widths)
{
    double total = 0;
    for (int32_t w : widths)
        total += w;
    std::vector<std::pair<double, double>> factors;
    double share = 0;
    for (int32_t w : widths) {
        const double part = total > 0 ? w / total : 0.0;
        factors.emplace_back(share, SnapToOne(share + part));
        share += part;
    }
    return factors;
}

void ApplyVerticalMode(EdgeFactors& factors, int mode)
{
    switch (mode) {
    case 1:
        factors.top = 0;
        factors.bottom = 0;
        break;
    case 2:
        factors.top = 1;
        factors.bottom = 1;
        break;
    case 3:
        factors.top = 0;
        factors.bottom = 1;
        break;
    default:
        break;
    }
}
