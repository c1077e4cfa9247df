#include "checks/local/secure_screen_saver.h"
#include "graded.h"

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
        {"1", "600", saver, "0", "'scrnsave', 10 minutes, active:Y, secure:N",
         advice + " ** Your screen saver is not 'secure' (does not require password to restore screen). **\n"},
        {"0", "600", saver, "1", "'scrnsave', 10 minutes, active:N, secure:N", notConfigured},
        {{}, {}, {}, {}, "'<NONE>', 0 minutes, active:N, secure:N", notConfigured},
        {"  +1x", " 300 seconds", "C:s.tar.scr", "-1", "'s.tar', 5 minutes, active:Y, secure:Y", advice},
        {"yes", "", "C:\\dir.d\\", "true", "'', 0 minutes, active:N, secure:N", notConfigured},
        // A negative time compares, and shows, as a huge unsigned number.
        {"1", "-600", saver, "1", "'scrnsave', 4294967286 minutes, active:Y, secure:Y",
         advice + " ** Time limit, 4294967286, exceeds 15 minutes. **\n"},
    };
    for (const auto& [active, timeOut, program, secure, summary, details] : cases)
        EXPECT_EQ(Graded(GradeSecureScreenSaver, {true, active, timeOut, program, secure}),
                  Record('I', summary, details));
    EXPECT_EQ(Graded(GradeSecureScreenSaver, {}), Record('I', "Unable to determine", ""));
}
