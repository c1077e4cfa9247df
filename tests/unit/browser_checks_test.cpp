#include "checks/accounts/default_web_browser.h"
#include "checks/accounts/ie_version.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using Record = std::tuple<TestStatus, std::string, std::string>;  // status, summary, details

const char kMinimumText[] =
    "Minimum Internet Explorer version is 11.0. Internet Explorer version 9.0 & 10.0 will work but is no longer "
    "supported by Microsoft. Internet Explorer components are used to communicate with our servers, independant "
    "of your default browser.";

Record GradedIe(std::optional<std::string> svcVersion)
{
    TestResult result;  // the runner's pre-set F
    GradeIeVersion({std::move(svcVersion)}, result);
    return {result.status, result.summary, result.details};
}

std::string BrowserSummary(std::optional<std::string> executable, bool withVersions = true)
{
    DefaultWebBrowserFacts facts{std::move(executable), "115.0", "9.11.9600.1", "120.0.1"};
    if (!withVersions)
        facts.firefoxVersion = facts.ieVersion = facts.chromeVersion = std::nullopt;
    TestResult result;
    GradeDefaultWebBrowser(facts, result);
    EXPECT_EQ(result.status, 'I');
    EXPECT_EQ(result.details,
              "Mozilla Firefox, Google Chrome, Microsoft Edge, or Microsoft Internet Explorer 11.0 or better.");
    return result.summary;
}

} // namespace

TEST(IeVersion, LeadingNumberDecides)
{
    // Read as "%lu." reads: blanks and a plus sign skipped, the dot optional,
    // anything after the number ignored, too large a number is the largest.
    for (const char* value : {"11.0.9600.18231", "11", " +12abc", "99999999999999999999.0"})
        EXPECT_EQ(GradedIe(value), Record('A', value, kMinimumText)) << value;
    for (const char* value : {"10.0.9200.16384", "0010.0", "9.11.9600.18231"})
        EXPECT_EQ(GradedIe(value), Record('F', value, kMinimumText)) << value;
    // A minus sign is no number: "%lu" would make "-1" the newest version of all.
    for (const char* value : {"abc", "", ".11", "-1"})
        EXPECT_EQ(GradedIe(value),
                  Record('F', "Unable to determine", std::string("Internet Explorer Registry value is corrupt: ") + value))
            << value;
    EXPECT_EQ(GradedIe(std::nullopt), Record('F', "Unable to determine", "Internet Explorer Registry value is missing."));
    EXPECT_EQ(std::get<2>(GradedIe(std::string(400, 'x'))).size(), 255u);
}

TEST(DefaultWebBrowser, LowerCaseBaseNameAndItsVersion)
{
    EXPECT_EQ(BrowserSummary("C:\\Program Files\\Mozilla Firefox\\FIREFOX.EXE"), "firefox  115.0");
    EXPECT_EQ(BrowserSummary("C:\\Program Files\\Internet Explorer\\iexplore.exe"), "iexplore  9.11.9600.1");
    EXPECT_EQ(BrowserSummary("C:\\Old\\IEXPLORER.EXE"), "iexplorer  9.11.9600.1");
    EXPECT_EQ(BrowserSummary("D:chrome.exe"), "chrome  120.0.1");
    EXPECT_EQ(BrowserSummary("C:\\Microsoft\\Edge\\Application\\msedge.exe"), "msedge");
    EXPECT_EQ(BrowserSummary("C:/tools/Chrome.Beta.exe"), "chrome.beta");  // only the last dot starts the extension
    EXPECT_EQ(BrowserSummary("C:\\Program Files\\Mozilla Firefox\\firefox.exe", false), "firefox");
    EXPECT_EQ(BrowserSummary(std::nullopt), "");  // no association for ".html"
    EXPECT_EQ(ProbePagePath("C:\\Temp\\"), "C:\\Temp\\\\blank.html");
}
