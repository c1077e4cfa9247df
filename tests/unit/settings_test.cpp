#include "app/settings.h"

#include <gtest/gtest.h>

TEST(DnsTestUrlOption, Cases)
{
    const std::string builtIn = "https://www.velmora.com/";
    const struct {
        std::vector<std::string> args;
        std::string expected;
    } cases[] = {
        {{}, builtIn},
        {{"-url", "https://a.example/"}, "https://a.example/"},
        {{"-URL", "https://a.example/"}, builtIn},
        {{"/url", "https://a.example/"}, builtIn},
        {{"-url", "https://a.example/", "-url", "https://b.example/"}, "https://b.example/"},
        {{"-url", "https://a.example/", "-url"}, "https://a.example/"},  // trailing option ignored
        {{"-url"}, builtIn},
        {{"x", "-url", "-url"}, "-url"},  // the argument after -url is taken whatever it is
        {{"-url", "-url", "https://c.example/"}, "-url"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DnsTestUrlFromArguments(c.args, builtIn), c.expected);
}

TEST(BuiltInSettings, AddressesAndWelcomeText)
{
    EXPECT_EQ(g_benchmarkServiceUrl.rfind("https://", 0), 0u);
    EXPECT_EQ(g_benchmarkServiceUrl.substr(g_benchmarkServiceUrl.size() - 22), "/KavloBenchmarkService");
    EXPECT_EQ("https://" + g_vendorSiteHost + "/", std::string("https://www.velmora.com/"));
    const std::string welcome = g_welcomeText;
    EXPECT_EQ(welcome.find("Welcome to Kavlo, a tool developed by Velmora"), 0u);
    EXPECT_NE(welcome.find("informational specs which can be used for troubleshooting. These are denoted with an "
                           "'I'.  \n\nBy proceeding"),
              std::string::npos);
    EXPECT_NE(welcome.find("No other information is shared with anyone.\n\nWhen the tests"), std::string::npos);
    EXPECT_EQ(welcome.back(), '\n');
    EXPECT_NE(welcome[welcome.size() - 2], '\n');
    // Build date in the compiler's form: "Dec 15 2015 11:39:05".
    EXPECT_EQ(std::string(g_buildDate).size(), 20u);
}
