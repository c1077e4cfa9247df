#include "checks/local/secure_screen_saver.h"

#include <gtest/gtest.h>

TEST(SecureScreenSaver_Grade, SettingsAndAdvice)
{
    const std::string suggestion =
        "We HIGHLY SUGGEST that your computer to be configured with a 'secure' screen saver that requires a password "
        "to unlock and automatically locks the screen after 15 minutes (or less) of inactivity.\n";
    const std::string notConfigured = suggestion + " ** Your screen saver is not configured. **\n";
    const std::string notSecure =
        suggestion + " ** Your screen saver is not 'secure' (does not require password to restore screen). **\n";
    const auto overLimit = [](const std::string& before, const char* minutes) {
        return before + " ** Time limit, " + minutes + ", exceeds 15 minutes. **\n";
    };
    const char* const saver = "C:\\Windows\\system32\\scrnsave.scr";
    using Text = std::optional<std::string>;
    const struct {
        Text active, timeOut, program, secure;
        std::string summary, details;
    } cases[] = {
        {"1", "600", saver, "1", "'scrnsave', 10 minutes, active:Y, secure:Y", suggestion},
        {"1", "1200", saver, "0", "'scrnsave', 20 minutes, active:Y, secure:N", overLimit(notSecure, "20")},
        {"1", "959", saver, "1", "'scrnsave', 15 minutes, active:Y, secure:Y", suggestion},
        {"1", "960", saver, "1", "'scrnsave', 16 minutes, active:Y, secure:Y", overLimit(suggestion, "16")},
        {"0", "600", saver, "1", "'scrnsave', 10 minutes, active:N, secure:N", notConfigured},
        {"1", "600", {}, "1", "'<NONE>', 10 minutes, active:Y, secure:Y", suggestion},
        {{}, {}, {}, {}, "'<NONE>', 0 minutes, active:N, secure:N", notConfigured},
        {"  +1x", " 300 seconds", "C:s.tar.scr", "-1", "'s.tar', 5 minutes, active:Y, secure:Y", suggestion},
        {"yes", "", "C:\\dir.d\\", "true", "'', 0 minutes, active:N, secure:N", notConfigured},
        // A negative time compares, and shows, as a huge unsigned number.
        {"1", "-600", saver, "1", "'scrnsave', 4294967286 minutes, active:Y, secure:Y",
         overLimit(suggestion, "4294967286")},
    };
    for (const auto& c : cases) {
        TestResult result;
        GradeSecureScreenSaver({true, c.active, c.timeOut, c.program, c.secure}, result);
        EXPECT_EQ(result.status, 'I') << c.summary;
        EXPECT_EQ(result.summary, c.summary);
        EXPECT_EQ(result.details, c.details) << c.summary;
    }
    TestResult result;
    GradeSecureScreenSaver(SecureScreenSaverFacts(), result);
    EXPECT_EQ(result.status, 'I');
    EXPECT_EQ(result.summary, "Unable to determine");
    EXPECT_EQ(result.details, "");
}
