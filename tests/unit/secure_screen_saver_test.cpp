#include "checks/local/secure_screen_saver.h"

#include <gtest/gtest.h>

namespace {

const std::string kSuggestion =
    "We HIGHLY SUGGEST that your computer to be configured with a 'secure' screen saver that requires a password to "
    "unlock and automatically locks the screen after 15 minutes (or less) of inactivity.\n";
const std::string kNotConfigured = " ** Your screen saver is not configured. **\n";
const std::string kNotSecure =
    " ** Your screen saver is not 'secure' (does not require password to restore screen). **\n";

using Text = std::optional<std::string>;

SecureScreenSaverFacts Values(Text active, Text timeOut, Text program, Text secure)
{
    SecureScreenSaverFacts facts;
    facts.keyOpened = true;
    facts.active = std::move(active);
    facts.timeOutSeconds = std::move(timeOut);
    facts.program = std::move(program);
    facts.isSecure = std::move(secure);
    return facts;
}

const char* const kScrnsave = "C:\\Windows\\system32\\scrnsave.scr";

} // namespace

TEST(SecureScreenSaver_Grade, SettingsAndAdvice)
{
    const Text none = std::nullopt;
    struct Case {
        const char* label;
        SecureScreenSaverFacts facts;
        std::string summary;
        std::string details;
    } cases[] = {
        {"SecureTenMinutes", Values("1", "600", kScrnsave, "1"), "'scrnsave', 10 minutes, active:Y, secure:Y",
         kSuggestion},
        {"NotSecureTwentyMinutes", Values("1", "1200", kScrnsave, "0"), "'scrnsave', 20 minutes, active:Y, secure:N",
         kSuggestion + kNotSecure + " ** Time limit, 20, exceeds 15 minutes. **\n"},
        {"Exactly15", Values("1", "900", kScrnsave, "1"), "'scrnsave', 15 minutes, active:Y, secure:Y", kSuggestion},
        {"959Is15", Values("1", "959", kScrnsave, "1"), "'scrnsave', 15 minutes, active:Y, secure:Y", kSuggestion},
        {"960Is16", Values("1", "960", kScrnsave, "1"), "'scrnsave', 16 minutes, active:Y, secure:Y",
         kSuggestion + " ** Time limit, 16, exceeds 15 minutes. **\n"},
        {"NotActiveButSecure", Values("0", "600", kScrnsave, "1"), "'scrnsave', 10 minutes, active:N, secure:N",
         kSuggestion + kNotConfigured},
        {"NoProgram", Values("1", "600", none, "1"), "'<NONE>', 10 minutes, active:Y, secure:Y", kSuggestion},
        {"NoValues", Values(none, none, none, none), "'<NONE>', 0 minutes, active:N, secure:N",
         kSuggestion + kNotConfigured},
        {"DwordTimeoutAsText", Values("1", "300", kScrnsave, "1"), "'scrnsave', 5 minutes, active:Y, secure:Y",
         kSuggestion},
        {"AtoiRules", Values("  +1x", " 600 seconds", "scrnsave.scr", "-1"),
         "'scrnsave', 10 minutes, active:Y, secure:Y", kSuggestion},
        {"NoDigits", Values("yes", "ten", "", "true"), "'', 0 minutes, active:N, secure:N",
         kSuggestion + kNotConfigured},
        // A negative time compares as a huge unsigned number.
        {"NegativeTimeout", Values("1", "-600", kScrnsave, "1"), "'scrnsave', 4294967286 minutes, active:Y, secure:Y",
         kSuggestion + " ** Time limit, 4294967286, exceeds 15 minutes. **\n"},
        {"HugeTimeoutIsHeld", Values("1", "99999999999999999999", kScrnsave, "1"),
         "'scrnsave', 35791394 minutes, active:Y, secure:Y",
         kSuggestion + " ** Time limit, 35791394, exceeds 15 minutes. **\n"},
        {"EmptyTexts", Values("", "", "", ""), "'', 0 minutes, active:N, secure:N", kSuggestion + kNotConfigured},
    };
    for (const Case& c : cases) {
        TestResult result;
        GradeSecureScreenSaver(c.facts, result);
        EXPECT_EQ(result.status, 'I') << c.label;
        EXPECT_EQ(result.summary, c.summary) << c.label;
        EXPECT_EQ(result.details, c.details) << c.label;
    }
}

TEST(SecureScreenSaver_Grade, KeyThatCannotBeOpened)
{
    TestResult result;
    GradeSecureScreenSaver(SecureScreenSaverFacts(), result);
    EXPECT_EQ(result.status, 'I');
    EXPECT_EQ(result.summary, "Unable to determine");
    EXPECT_EQ(result.details, "");
}

TEST(SecureScreenSaver_Grade, LongNameIsCutWithTheSummary)
{
    TestResult result;
    GradeSecureScreenSaver(Values("1", "600", "C:\\" + std::string(600, 'n') + ".scr", "1"), result);
    EXPECT_EQ(result.summary, "'" + std::string(255, 'n') + "', 10 minutes, active:Y, secure:Y");
}

TEST(SecureScreenSaver_Text, FileNameWithoutExtension)
{
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Windows\\system32\\scrnsave.scr", "scrnsave"},
        {"C:scrnsave.scr", "scrnsave"},
        {"/usr/share/ss.tar.scr", "ss.tar"},
        {"C:\\dir.d\\noext", "noext"},
        {"C:\\dir\\", ""},
        {".scr", ""},
        {"plain", "plain"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FileNameWithoutExtension(c.first), c.second) << c.first;
}

TEST(SecureScreenSaver_Text, LeadingInteger)
{
    const std::pair<const char*, int> cases[] = {
        {"0", 0},       {"1", 1},         {" \t\n42abc", 42}, {"-7", -7},          {"+8", 8},
        {"", 0},        {"x1", 0},        {"- 1", 0},         {"2147483647", 2147483647},
        {"2147483648", 2147483647},       {"-2147483648", INT32_MIN}, {"-99999999999", INT32_MIN},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LeadingInteger(c.first), c.second) << '"' << c.first << '"';
}
