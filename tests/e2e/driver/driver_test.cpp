#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver_options.h"
#include "transcript.h"

namespace {

TEST(TranscriptEscape, EveryFactStaysOnOneLine)
{
    const struct {
        std::string text;
        std::string escaped;
    } cases[] = {
        {"", ""},
        {"plain text | with bar", "plain text | with bar"},
        {"two\nlines", "two\\nlines"},
        {"crlf\r\nend", "crlf\\r\\nend"},
        {"tab\there", "tab\\there"},
        {"C:\\path\\n", "C:\\\\path\\\\n"},
        {"\n\n", "\\n\\n"},
    };
    for (const auto& c : cases) {
        const std::string escaped = EscapeForTranscript(c.text);
        EXPECT_EQ(escaped, c.escaped) << c.text;
        EXPECT_EQ(escaped.find('\n'), std::string::npos);
        EXPECT_EQ(escaped.find('\r'), std::string::npos);
    }
}

DriverOptions Parse(std::vector<std::string> arguments)
{
    DriverOptions options;
    std::string error;
    EXPECT_TRUE(ParseDriverOptions(arguments, options, error)) << error;
    return options;
}

TEST(DriverOptions, DefaultsRunTheWholeInspection)
{
    const DriverOptions options = Parse({});
    EXPECT_FALSE(options.cancelWelcome);
    EXPECT_FALSE(options.closeMidRun);
    EXPECT_FALSE(options.email);
    EXPECT_FALSE(options.print);
    EXPECT_TRUE(options.hold);
    EXPECT_EQ(options.clickRow, 0);
    EXPECT_TRUE(options.kavloArguments.empty());
    EXPECT_TRUE(options.shotsFolder.empty());
}

TEST(DriverOptions, EachOptionSetsItsField)
{
    const DriverOptions options =
        Parse({"--kavlo=C:\\k.exe", "--shots=Z:\\tmp\\out", "--welcome=cancel", "--cancel-at=Disk Speed", "--email",
               "--print", "--agent=Ann Agent", "--prospect=", "--click=17", "--details=all", "--no-hold",
               "--resize=1100x860", "--run-timeout=30", "--exit-timeout=2"});
    EXPECT_EQ(options.kavloPath, "C:\\k.exe");
    EXPECT_EQ(options.shotsFolder, "Z:\\tmp\\out");
    EXPECT_TRUE(options.cancelWelcome);
    EXPECT_EQ(options.cancelAt, "Disk Speed");
    EXPECT_TRUE(options.email);
    EXPECT_TRUE(options.print);
    EXPECT_EQ(options.agentName, "Ann Agent");
    EXPECT_EQ(options.prospectName, "");
    EXPECT_EQ(options.clickRow, 17);
    EXPECT_TRUE(options.allDetails);
    EXPECT_FALSE(options.hold);
    EXPECT_EQ(options.resizeWidth, 1100);
    EXPECT_EQ(options.resizeHeight, 860);
    EXPECT_EQ(options.runTimeoutMs, 30000u);
    EXPECT_EQ(options.exitTimeoutMs, 2000u);
}

TEST(DriverOptions, CloseMidRunAtOnceOrAtANamedCheck)
{
    const DriverOptions atOnce = Parse({"--close-mid-run"});
    EXPECT_TRUE(atOnce.closeMidRun);
    EXPECT_TRUE(atOnce.closeAt.empty());
    const DriverOptions named = Parse({"--close-mid-run=Network Speed"});
    EXPECT_TRUE(named.closeMidRun);
    EXPECT_EQ(named.closeAt, "Network Speed");
    EXPECT_EQ(named.barAtPercent, 0);
    const DriverOptions midUpload = Parse({"--close-mid-run=Network Speed", "--bar-at=30"});
    EXPECT_EQ(midUpload.closeAt, "Network Speed");
    EXPECT_EQ(midUpload.barAtPercent, 30);
}

TEST(DriverOptions, EverythingAfterTheSeparatorGoesToKavlo)
{
    const DriverOptions options = Parse({"--email", "--", "-url", "https://a.test/", "--email"});
    EXPECT_TRUE(options.email);
    EXPECT_EQ(options.kavloArguments, (std::vector<std::string>{"-url", "https://a.test/", "--email"}));
    EXPECT_TRUE(Parse({"--"}).kavloArguments.empty());
}

TEST(DriverOptions, UnknownOrUnreadableOptionsAreRefused)
{
    const std::vector<std::string> refused[] = {
        {"--bogus"},         {"--click=two"},   {"--click=-1"},     {"--click="},       {"--resize=100"},
        {"--resize=x100"},   {"--resize=10x"},  {"--cancel-at="},   {"--run-timeout="}, {"-url"},
        {"--welcome=ok"},    {"--close-mid-run="}, {"--bar-at=0"},      {"--bar-at=100"},   {"--bar-at=50%"},
    };
    for (const auto& arguments : refused) {
        DriverOptions options;
        std::string error;
        EXPECT_FALSE(ParseDriverOptions(arguments, options, error)) << arguments[0];
        EXPECT_FALSE(error.empty()) << arguments[0];
    }
}

} // namespace
