#include "app/dialog_layout.h"

#include <gtest/gtest.h>

namespace {

DialogSizes Grown(int32_t dx, int32_t dy)
{
    DialogSizes s;
    s.initialWidth = s.lastWidth = 400;
    s.initialHeight = s.lastHeight = 300;
    s.newWidth = 400 + dx;
    s.newHeight = 300 + dy;
    return s;
}

} // namespace

TEST(DialogLayout, HorizontalGroupSharesByWidth)
{
    const auto f = HorizontalGroupFactors({100, 300});
    ASSERT_EQ(f.size(), 2u);
    EXPECT_DOUBLE_EQ(f[0].first, 0.0);
    EXPECT_DOUBLE_EQ(f[0].second, 0.25);
    EXPECT_DOUBLE_EQ(f[1].first, 0.25);
    EXPECT_EQ(f[1].second, 1.0);  // snapped to exactly one
    const auto alone = HorizontalGroupFactors({151});
    EXPECT_EQ(alone[0].first, 0.0);
    EXPECT_EQ(alone[0].second, 1.0);
    const auto thirds = HorizontalGroupFactors({1, 1, 1});
    EXPECT_EQ(thirds[2].second, 1.0);  // 0.999... is stored as 1
}

TEST(DialogLayout, PushButtonInLowerRightMovesWithTheCorner)
{
    // Split at 50 % and 67 %: x 200, y 201.
    const LayoutRect button{300, 250, 380, 280};
    const LayoutRect moved = LayOutChild(Grown(100, 50), button, true, nullptr);
    EXPECT_EQ(moved, (LayoutRect{400, 300, 480, 330}));
}

TEST(DialogLayout, PushButtonStraddlingTheSplitKeepsItsSize)
{
    // More of it lies left of x 200: both horizontal edges stay.
    const LayoutRect button{150, 250, 210, 280};
    EXPECT_EQ(LayOutChild(Grown(100, 50), button, true, nullptr), (LayoutRect{150, 300, 210, 330}));
    // The same rectangle as a list box stretches across the split.
    EXPECT_EQ(LayOutChild(Grown(100, 50), button, false, nullptr), (LayoutRect{150, 300, 310, 330}));
}

TEST(DialogLayout, RulesOverrideDefaults)
{
    ControlRule rule;
    rule.initial = {10, 200, 210, 260};
    rule.factors.left = 0;
    rule.factors.right = 1;
    ApplyVerticalMode(rule.factors, 2);
    EXPECT_EQ(LayOutChild(Grown(100, 50), rule.initial, false, &rule), (LayoutRect{10, 250, 310, 310}));

    ApplyVerticalMode(rule.factors, 3);
    EXPECT_EQ(rule.factors.top, 0);
    EXPECT_EQ(rule.factors.bottom, 1);
    ApplyVerticalMode(rule.factors, 7);  // unknown modes change nothing
    EXPECT_EQ(rule.factors.bottom, 1);
}

TEST(DialogLayout, FractionalFactorsPlaceFromTheInitialLayout)
{
    ControlRule rule;
    rule.initial = {100, 10, 200, 50};
    rule.factors = {0.25, 0.75, 0, 0};
    DialogSizes s = Grown(0, 0);
    s.lastWidth = 450;  // a previous relayout already moved it
    s.newWidth = 501;
    const LayoutRect current{112, 10, 237, 50};
    // initial + (501 - 400) * factor, truncated toward zero.
    EXPECT_EQ(LayOutChild(s, current, false, &rule), (LayoutRect{125, 10, 275, 50}));
    // Shrinking back truncates toward zero too.
    s.newWidth = 397;
    EXPECT_EQ(LayOutChild(s, current, false, &rule).right, 200 - 2);
}

TEST(DialogLayout, SnapToOne)
{
    EXPECT_EQ(SnapToOne(0.99999), 1.0);
    EXPECT_EQ(SnapToOne(0.99998), 0.99998);
    EXPECT_EQ(SnapToOne(1.5), 1.0);
}
