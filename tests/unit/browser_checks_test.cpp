#include "checks/accounts/default_web_browser.h"
#include "checks/accounts/ie_version.h"

#include <gtest/gtest.h>

namespace {

using Record = std::tuple<TestStatus, std::string, std::string>;  // status, summary, details

Record GradedIe(std::optional<std::string> svcVersion)
{
    TestResult result;  // the runner's pre-set F
    GradeIeVersion({std::move(svcVersion)}, result);
    return {result.status, result.summary, result.details};
}

} // namespace

TEST(IeVersion, LeadingNumberDecides)
{
    const std::string minimum =
        "Minimum Internet Explorer version is 11.0. Internet Explorer version 9.0 & 10.0 will work but is no longer "
        "supported by Microsoft. Internet Explorer components are used to communicate with our servers, independant "
        "of your default browser.";
    // Read as "%lu." reads: blanks and a plus sign skipped, the dot optional,
    // anything after the number ignored, too large a number is the largest.
    for (const char* value : {"11.0.9600.18231", "11", " +12abc", "99999999999999999999.0"})
        EXPECT_EQ(GradedIe(value), Record('A', value, minimum)) << value;
    for (const char* value : {"10.0.9200.16384", "0010.0", "9.11.9600.18231"})
        EXPECT_EQ(GradedIe(value), Record('F', value, minimum)) << value;
    // A minus sign is no number: "%lu" would make "-1" the newest version of all.
    for (const char* value : {"abc", "", ".11", "-1"})
        EXPECT_EQ(GradedIe(value), Record('F', "Unable to determine",
                                          std::string("Internet Explorer Registry value is corrupt: ") + value))
            << value;
    EXPECT_EQ(GradedIe(std::nullopt),
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
    for (const auto& [executable, summary] : cases) {
        TestResult result;
        GradeDefaultWebBrowser({executable, "115.0", "9.11.9600.1", "120.0.1"}, result);
        EXPECT_EQ(Record(result.status, result.summary, result.details),
                  Record('I', summary,
                         "Mozilla Firefox, Google Chrome, Microsoft Edge, or Microsoft Internet Explorer 11.0 or "
                         "better."));
    }
}
