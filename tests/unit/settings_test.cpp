#include "app/settings.h"

#include <gtest/gtest.h>

TEST(DnsTestUrlOption, LastLowerCaseOptionWithAnArgumentWins)
{
    const std::string builtIn = "https://www.velmora.com/";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, builtIn},
        {{"-url", "https://a.example/"}, "https://a.example/"},
        {{"-URL", "https://a.example/"}, builtIn},
        {{"-url", "https://a.example/", "-url", "https://b.example/"}, "https://b.example/"},
        {{"-url", "https://a.example/", "-url"}, "https://a.example/"},  // trailing option ignored
        {{"x", "-url", "-url"}, "-url"},  // the argument after -url is taken whatever it is
    };
    for (const auto& [args, url] : cases)
        EXPECT_EQ(DnsTestUrlFromArguments(args, builtIn), url);
}
