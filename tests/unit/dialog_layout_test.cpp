#include "app/dialog_layout.h"

#include <gtest/gtest.h>

TEST(DialogLayout, GroupSharesByWidthSnappedToOne)
{
    using Factors = std::vector<std::pair<double, double>>;
    EXPECT_EQ(HorizontalGroupFactors({100, 300}), (Factors{{0.0, 0.25}, {0.25, 1.0}}));
    EXPECT_EQ(HorizontalGroupFactors({151}), (Factors{{0.0, 1.0}}));
    EXPECT_EQ(HorizontalGroupFactors({1, 1, 1})[2].second, 1.0);  // 0.999... is stored as 1
    EXPECT_EQ(SnapToOne(0.99998), 0.99998);
    EXPECT_EQ(SnapToOne(1.5), 1.0);
}

TEST(DialogLayout, ChildrenFollowTheSplitOrTheirRule)
{
    // A dialog of 400 x 300 split at 50 % and 67 % (x 200, y 201), grown by 100 x 50.
    DialogSizes grown = {400, 300, 400, 300, 500, 350};  // initial, last and new width and height
    const ControlRule spanning = {{0, 1, 1, 1}, {10, 200, 210, 260}};
    const std::tuple<LayoutRect, bool, const ControlRule*, LayoutRect> cases[] = {
        // More of it lies left of x 200: a push button keeps both edges, a list box stretches.
        {{150, 250, 210, 280}, true, nullptr, {150, 300, 210, 330}},
        {{150, 250, 210, 280}, false, nullptr, {150, 300, 310, 330}},
        {{10, 200, 210, 260}, false, &spanning, {10, 250, 310, 310}},
    };
    for (const auto& [current, keepsSize, rule, moved] : cases)
        EXPECT_EQ(LayOutChild(grown, current, keepsSize, rule), moved) << current.left << "," << current.top;

    // Shares place from the initial layout, initial + (new - initial width) x factor truncated
    // toward zero, though a previous relayout already moved the control.
    const ControlRule shared = {{0.25, 0.75, 0, 0}, {100, 10, 200, 50}};
    grown.lastWidth = 450;
    grown.newWidth = 501;
    EXPECT_EQ(LayOutChild(grown, {112, 10, 237, 50}, false, &shared), (LayoutRect{125, 10, 275, 50}));
    grown.newWidth = 397;
    EXPECT_EQ(LayOutChild(grown, {112, 10, 237, 50}, false, &shared).right, 198);
}
