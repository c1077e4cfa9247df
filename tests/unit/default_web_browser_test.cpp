#include "checks/accounts/default_web_browser.h"

#include <gtest/gtest.h>

namespace {

const char kBrowsersText[] =
    "Mozilla Firefox, Google Chrome, Microsoft Edge, or Microsoft Internet Explorer 11.0 or better.";

DefaultWebBrowserFacts WithVersions(std::optional<std::string> executable)
{
    DefaultWebBrowserFacts facts;
    facts.browserExecutable = std::move(executable);
    facts.firefoxVersion = "115.3.1";
    facts.ieVersion = "9.11.9600.18376";
    facts.chromeVersion = "120.0.6099.71";
    return facts;
}

} // namespace

TEST(DefaultWebBrowser, NameAndVersionByBrowser)
{
    const struct {
        std::optional<std::string> executable;
        const char* summary;
    } cases[] = {
        {"C:\\Program Files\\Mozilla Firefox\\FIREFOX.EXE", "firefox  115.3.1"},
        {"C:\\Program Files\\Internet Explorer\\iexplore.exe", "iexplore  9.11.9600.18376"},
        {"C:\\Old\\IEXPLORER.EXE", "iexplorer  9.11.9600.18376"},
        {"C:\\Program Files (x86)\\Google\\Chrome\\Application\\chrome.exe", "chrome  120.0.6099.71"},
        {"C:\\Program Files (x86)\\Microsoft\\Edge\\Application\\msedge.exe", "msedge"},
        {"C:\\windows\\system32\\winebrowser.exe", "winebrowser"},
        {"C:/tools/Chrome.Beta.exe", "chrome.beta"},  // only the last dot starts the extension
        {"D:chrome.exe", "chrome  120.0.6099.71"},
        {"C:\\bin\\firefox", "firefox  115.3.1"},
        {"C:\\bin\\Firefox Nightly.exe", "firefox nightly"},
        {std::nullopt, ""},  // no association for ".html"
    };
    for (const auto& c : cases) {
        TestResult result;
        GradeDefaultWebBrowser(WithVersions(c.executable), result);
        const std::string label = c.executable.value_or("(none)");
        EXPECT_EQ(result.status, 'I') << label;
        EXPECT_EQ(result.summary, c.summary) << label;
        EXPECT_EQ(result.details, kBrowsersText) << label;
    }
}

TEST(DefaultWebBrowser, MissingVersionLeavesTheBareName)
{
    for (const char* exe : {"C:\\f\\firefox.exe", "C:\\i\\iexplore.exe", "C:\\c\\chrome.exe"}) {
        DefaultWebBrowserFacts facts;
        facts.browserExecutable = exe;
        TestResult result;
        GradeDefaultWebBrowser(facts, result);
        std::string name;
        ASSERT_TRUE(FindDefaultBrowserName(facts.browserExecutable, name));
        EXPECT_EQ(result.summary, name);
        EXPECT_EQ(result.status, 'I');
    }
}

TEST(DefaultWebBrowser, OnlyTheMatchingBrowsersVersionIsUsed)
{
    DefaultWebBrowserFacts facts;
    facts.browserExecutable = "C:\\c\\chrome.exe";
    facts.firefoxVersion = "115.0";
    facts.ieVersion = "11.0";
    TestResult result;
    GradeDefaultWebBrowser(facts, result);
    EXPECT_EQ(result.summary, "chrome");
}

TEST(DefaultWebBrowser, FindNameEmptiesItsOutput)
{
    std::string name = "stale";
    EXPECT_FALSE(FindDefaultBrowserName(std::nullopt, name));
    EXPECT_EQ(name, "");
    name = "stale";
    EXPECT_TRUE(FindDefaultBrowserName(std::string("C:\\x\\OPERA.EXE"), name));
    EXPECT_EQ(name, "opera");
}

TEST(DefaultWebBrowser, ProbePageSitsInTheTemporaryFolder)
{
    EXPECT_EQ(ProbePagePath("C:\\Users\\ann\\AppData\\Local\\Temp\\"),
              "C:\\Users\\ann\\AppData\\Local\\Temp\\\\blank.html");
    EXPECT_EQ(ProbePagePath(std::string(300, 'T')).size(), 259u);
}
