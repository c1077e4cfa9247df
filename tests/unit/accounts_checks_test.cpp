#include "checks/accounts/default_web_browser.h"
#include "checks/accounts/domain_membership.h"
#include "checks/accounts/ie_version.h"
#include "checks/accounts/local_admin.h"
#include "checks/accounts/usb20.h"
#include "graded.h"

#include <gtest/gtest.h>

#include <vector>

TEST(DomainMembership, FirstFailureThenTheWorkstationRecord)
{
    // Each failure is told in both fields, the load failures with two blanks before their error number.
    DomainMembershipFacts f;  // no version record: platform 0
    const auto both = [](const std::string& text) { return Record('I', text, text); };
    EXPECT_EQ(Graded(GradeDomainMembership, f), both("Unable to test domain membership on this operating system."));
    f.platformId = kPlatformWin32Nt;
    f.securityLibrary.errorCode = 126;
    f.networkLibrary.errorCode = 4294967295u;
    EXPECT_EQ(Graded(GradeDomainMembership, f),
              both("Unable to test domain membership.  ADVAPI32.DLL did not load.  Error Code: 126"));
    f.securityLibrary.loaded = true;
    EXPECT_EQ(Graded(GradeDomainMembership, f),
              both("Unable to test domain membership.  NETAPI32.DLL did not load.  Error Code: 4294967295"));
    f.networkLibrary.loaded = true;
    EXPECT_EQ(Graded(GradeDomainMembership, f), both("Unable to test domain membership.  LSA DLLs did not load."));

    f.functionsFound = true;
    f.domainSidPresent = true;  // not told without the workstation record
    f.computerName = "PC1";
    const std::string optional = "Domain membership is optional.  This test is informational only.";
    EXPECT_EQ(Graded(GradeDomainMembership, f), Record('I', "Non-domain member: PC1", optional));
    f.domainSidPresent = false;
    f.workstation = WorkstationNames{"WORKGROUP", "PC1"};
    EXPECT_EQ(Graded(GradeDomainMembership, f), Record('I', "Non-Domain Member: WORKGROUP\\PC1", optional));
}

TEST(Usb20, CaseSensitiveMarkersEachMatchListedOnce)
{
    const std::string heading = "Detected the following USB 2.0 Ports:\n";
    const Usb20Facts mixed = {{"Standard Enhanced PCI to USB Host Controller", "USB Root Hub", "Generic USB2 Hub",
                               "Intel USB2 Enhanced Controller", "usb2 enhanced hub", "<UNKNOWN>"}};
    EXPECT_EQ(Graded(GradeUsb20, mixed),
              Record('I', "USB 2.0 detected",
                     heading + "  Standard Enhanced PCI to USB Host Controller\n  Generic USB2 Hub\n"
                               "  Intel USB2 Enhanced Controller\n"));
    const Usb20Facts unmarked = {{"USB xHCI Compliant Host Controller", "USB Root Hub (USB 3.0)", "ENHANCED"}};
    EXPECT_EQ(Graded(GradeUsb20, unmarked), Record('I', "USB 2.0 NOT detected", heading));
}

TEST(IeVersion, LeadingNumberDecides)
{
    const std::string minimum =
        "Minimum Internet Explorer version is 11.0. Internet Explorer version 9.0 & 10.0 will work but is no longer "
        "supported by Microsoft. Internet Explorer components are used to communicate with our servers, independant "
        "of your default browser.";
    // Read as "%lu." reads: blanks and a plus sign skipped, the dot optional,
    // anything after the number ignored, too large a number is the largest.
    for (const char* value : {"11.0.9600.18231", " +12abc", "99999999999999999999.0"})
        EXPECT_EQ(Graded(GradeIeVersion, {value}), Record('A', value, minimum)) << value;
    for (const char* value : {"10.0.9200.16384", "0010.0"})
        EXPECT_EQ(Graded(GradeIeVersion, {value}), Record('F', value, minimum)) << value;
    // A minus sign is no number: "%lu" would make "-1" the newest version of all.
    const std::string corrupt = "Internet Explorer Registry value is corrupt: ";
    for (const char* value : {"", ".11", "-1"})
        EXPECT_EQ(Graded(GradeIeVersion, {value}), Record('F', "Unable to determine", corrupt + value));
}

TEST(LocalAdmin, EitherSummaryWithTheNameInTheLimitedText)
{
    const std::string rights =
        "Administrative rights are required to install the software, but not required to run the software.";
    const std::string name(300, 'n');  // the summary is cut to 255 characters
    EXPECT_EQ(Graded(GradeLocalAdmin, {true, "Ann"}), Record('I', "User 'Ann' is local admin", rights));
    EXPECT_EQ(Graded(GradeLocalAdmin, {false, name}), Record('I', "User '" + name.substr(0, 249), rights));
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

