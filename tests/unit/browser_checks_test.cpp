#include "checks/accounts/default_web_browser.h"
#include "checks/accounts/ie_version.h"
#include "graded.h"

#include <gtest/gtest.h>

TEST(IeVersion, LeadingNumberDecides)
{
    const std::string minimum =
        "Minimum Internet Explorer version is 11.0. Internet Explorer version 9.0 & 10.0 will work but is no longer "
        "supported by Microsoft. Internet Explorer components are used to communicate with our servers, independant "
        "of your default browser.";
    // Read as "%lu." reads: blanks and a plus sign skipped, the dot optional,
    // anything after the number ignored, too large a number is the largest.
    for (const char* value : {"11.0.9600.18231", "11", " +12abc", "99999999999999999999.0"})
        EXPECT_EQ(Graded(GradeIeVersion, {value}), Record('A', value, minimum)) << value;
    for (const char* value : {"10.0.9200.16384", "0010.0", "9.11.9600.18231"})
        EXPECT_EQ(Graded(GradeIeVersion, {value}), Record('F', value, minimum)) << value;
    // A minus sign is no number: "%lu" would make "-1" the newest version of all.
    const std::string corrupt = "Internet Explorer Registry value is corrupt: ";
    for (const char* value : {"abc", "", ".11", "-1"})
        EXPECT_EQ(Graded(GradeIeVersion, {value}), Record('F', "Unable to determine", corrupt + value));
    EXPECT_EQ(Graded(GradeIeVersion, {std::nullopt}),
              Record('F', "Unable to determine", "Internet Explorer Registry value is missing."));
}

TEST(DefaultWebBrowser, LowerCaseBaseNameAndItsVersion)
{
    const std::pair<std::optional<std::string>, const char*> cases[] = {
        {"C:\\Program Files\\Mozilla Firefox\\FIREFOX.EXE", "firefox  115.0"},
        {"C:\\Program Files\\Internet Explorer\\iexplore.exe", "iexplore  9.11.9600.1"},
        {"C:\\Old\\IEXPLORER.EXE", "iexplorer  9.11.9600.1"},
        {"D:chrome.exe", "chrome  120.0.1"},
        {"C:\\Microsoft\\Edge\\Application\\msedge.exe", "msedge"},
        {"C:/tools/Chrome.Beta.exe", "chrome.beta"},  // only the last dot starts the extension
        {std::nullopt, ""},                           // no association for ".html"
    };
    const std::string advice =
        "Mozilla Firefox, Google Chrome, Microsoft Edge, or Microsoft Internet Explorer 11.0 or better.";
    for (const auto& [executable, summary] : cases)
        EXPECT_EQ(Graded(GradeDefaultWebBrowser, {executable, "115.0", "9.11.9600.1", "120.0.1"}),
                  Record('I', summary, advice));
}
