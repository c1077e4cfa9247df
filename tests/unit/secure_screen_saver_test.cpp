#include "checks/local/secure_screen_saver.h"

#include <gtest/gtest.h>

TEST(SecureScreenSaver_Grade, SettingsAndAdvice)
{
    const std::string advice =
        "We HIGHLY SUGGEST that your computer to be configured with a 'secure' screen saver that requires a password "
        "to unlock and automatically locks the screen after 15 minutes (or less) of inactivity.\n";
    const std::string notConfigured = advice + " ** Your screen saver is not configured. **\n";
    const char* const saver = "C:\\Windows\\system32\\scrnsave.scr";
    using Text = std::optional<std::string>;
    const std::tuple<Text, Text, Text, Text, std::string, std::string> cases[] = {
        // active, time-out, program, secure
        {"1", "959", saver, "1", "'scrnsave', 15 minutes, active:Y, secure:Y", advice},
        {"1", "960", saver, "1", "'scrnsave', 16 minutes, active:Y, secure:Y",
         advice + " ** Time limit, 16, exceeds 15 minutes. **\n"},
        {"0", "600", saver, "1", "'scrnsave', 10 minutes, active:N, secure:N", notConfigured},
        {"1", "600", {}, "1", "'<NONE>', 10 minutes, active:Y, secure:Y", advice},
        {{}, {}, {}, {}, "'<NONE>', 0 minutes, active:N, secure:N", notConfigured},
        {"  +1x", " 300 seconds", "C:s.tar.scr", "-1", "'s.tar', 5 minutes, active:Y, secure:Y", advice},
        {"yes", "", "C:\\dir.d\\", "true", "'', 0 minutes, active:N, secure:N", notConfigured},
        // A negative time compares, and shows, as a huge unsigned number.
        {"1", "-600", saver, "1", "'scrnsave', 4294967286 minutes, active:Y, secure:Y",
         advice + " ** Time limit, 4294967286, exceeds 15 minutes. **\n"},
    };
    for (const auto& [active, timeOut, program, secure, summary, details] : cases) {
        TestResult result;
        GradeSecureScreenSaver({true, active, timeOut, program, secure}, result);
        EXPECT_EQ(result.status, 'I') << summary;
        EXPECT_EQ(result.summary, summary);
        EXPECT_EQ(result.details, details) << summary;
    }
    TestResult result;
    GradeSecureScreenSaver(SecureScreenSaverFacts(), result);
    EXPECT_EQ(std::make_tuple(result.status, result.summary, result.details),
              std::make_tuple('I', std::string("Unable to determine"), std::string()));
}
