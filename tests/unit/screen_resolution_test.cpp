#include "checks/local/screen_resolution.h"

#include <gtest/gtest.h>

TEST(ScreenResolution_Grade, AlwaysInformsWithTheMinimum)
{
    struct Case {
        ScreenResolutionFacts facts;
        const char* summary;
    } cases[] = {
        {{2, 1920, 1080, 32, 60}, "1920 x 1080, 32 bpp, 60 HZ, 2 Display(s)"},
        {{1, 800, 600, 16, 75}, "800 x 600, 16 bpp, 75 HZ, 1 Display(s)"},
        {{0, 0, 0, 0, 0}, "0 x 0, 0 bpp, 0 HZ, 0 Display(s)"},
        {{1, 4294967295u, 1, 1, 1}, "4294967295 x 1, 1 bpp, 1 HZ, 1 Display(s)"},
    };
    for (const Case& c : cases) {
        TestResult result;
        GradeScreenResolution(c.facts, result);
        EXPECT_EQ(result.status, 'I');
        EXPECT_EQ(result.summary, c.summary);
        EXPECT_EQ(result.details, "Minimum resolution: 1024 x 768, 15 bpp.\n");
    }
}
