#include "checks/local/screen_resolution.h"

#include <gtest/gtest.h>

TEST(ScreenResolution_Grade, AlwaysInformsWithTheMinimum)
{
    const std::pair<ScreenResolutionFacts, const char*> cases[] = {
        {{2, 1920, 1080, 32, 60}, "1920 x 1080, 32 bpp, 60 HZ, 2 Display(s)"},
        {{1, 800, 600, 16, 75}, "800 x 600, 16 bpp, 75 HZ, 1 Display(s)"},
    };
    for (const auto& [facts, summary] : cases) {
        TestResult result;
        GradeScreenResolution(facts, result);
        EXPECT_EQ(result.status, 'I');
        EXPECT_EQ(result.summary, summary);
        EXPECT_EQ(result.details, "Minimum resolution: 1024 x 768, 15 bpp.\n");
    }
}
