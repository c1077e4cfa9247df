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

TEST(BuiltInSettings, WelcomeTextParagraphsAndBuildDate)
{
    const std::string welcome = g_welcomeText;
    // Paragraphs joined by two line feeds, the second ending in two blanks,
    // the whole ending in one line feed.
    EXPECT_NE(welcome.find("shared with anyone.\n\nWhen the tests"), std::string::npos);
    EXPECT_NE(welcome.find("denoted with an 'I'.  \n\nBy proceeding"), std::string::npos);
    EXPECT_EQ(welcome.substr(welcome.size() - 11), " software.\n");
    // "Dec 15 2015 11:39:05": the compiler's date and time form.
    EXPECT_EQ(std::string(g_buildDate).size(), 20u);
}
