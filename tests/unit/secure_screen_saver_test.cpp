#include "checks/local/secure_screen_saver.h"

#include <gtest/gtest.h>

namespace {

const std::string kSuggestion =
    "We HIGHLY SUGGEST that your computer to be configured with a 'secure' screen saver that requires a password to "
    "unlock and automatically locks the screen after 15 minutes (or less) of inactivity.\n";
const std::string kNotConfigured = " ** Your screen saver is not configured. **\n";
const std::string kNotSecure =
    " ** Your screen saver is not 'secure' (does not require password to restore screen). **\n";
const char* const kScrnsave = "C:\\Windows\\system32\\scrnsave.scr";
const std::optional<std::string> none;

std::string TimeLimit(const char* minutes)
{
    return std::string(" ** Time limit, ") + minutes + ", exceeds 15 minutes. **\n";
}

} // namespace

TEST(SecureScreenSaver_Grade, SettingsAndAdvice)
{
    using Text = std::optional<std::string>;
    struct Case {
        Text active, timeOut, program, secure;
        std::string summary;
        std::string details;
    } cases[] = {
        {"1", "600", kScrnsave, "1", "'scrnsave', 10 minutes, active:Y, secure:Y", kSuggestion},
        {"1", "1200", kScrnsave, "0", "'scrnsave', 20 minutes, active:Y, secure:N",
         kSuggestion + kNotSecure + TimeLimit("20")},
        {"1", "900", kScrnsave, "1", "'scrnsave', 15 minutes, active:Y, secure:Y", kSuggestion},
        {"1", "959", kScrnsave, "1", "'scrnsave', 15 minutes, active:Y, secure:Y", kSuggestion},
        {"1", "960", kScrnsave, "1", "'scrnsave', 16 minutes, active:Y, secure:Y", kSuggestion + TimeLimit("16")},
        {"0", "600", kScrnsave, "1", "'scrnsave', 10 minutes, active:N, secure:N", kSuggestion + kNotConfigured},
        {"1", "600", none, "1", "'<NONE>', 10 minutes, active:Y, secure:Y", kSuggestion},
        {none, none, none, none, "'<NONE>', 0 minutes, active:N, secure:N", kSuggestion + kNotConfigured},
        {"  +1x", " 300 seconds", "C:s.tar.scr", "-1", "'s.tar', 5 minutes, active:Y, secure:Y", kSuggestion},
        {"yes", "", "C:\\dir.d\\", "true", "'', 0 minutes, active:N, secure:N", kSuggestion + kNotConfigured},
        // A negative time compares, and shows, as a huge unsigned number.
        {"1", "-600", kScrnsave, "1", "'scrnsave', 4294967286 minutes, active:Y, secure:Y",
         kSuggestion + TimeLimit("4294967286")},
        {"1", "99999999999999999999", kScrnsave, "1", "'scrnsave', 35791394 minutes, active:Y, secure:Y",
         kSuggestion + TimeLimit("35791394")},
        {"1", "600", "C:\\" + std::string(600, 'n') + ".scr", "1",
         "'" + std::string(255, 'n') + "', 10 minutes, active:Y, secure:Y", kSuggestion},
    };
    for (const Case& c : cases) {
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
