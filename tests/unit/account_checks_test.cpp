#include "checks/accounts/domain_membership.h"
#include "checks/accounts/local_admin.h"
#include "checks/accounts/usb20.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using Record = std::tuple<TestStatus, std::string, std::string>;  // status, summary, details

template <typename Facts>
Record Graded(void (*grade)(const Facts&, TestResult&), const Facts& facts)
{
    TestResult result;  // the runner's pre-set F
    grade(facts, result);
    return {result.status, result.summary, result.details};
}

} // namespace

TEST(LocalAdmin, SummaryByTheAnswerAlwaysInformational)
{
    const std::string rights =
        "Administrative rights are required to install the software, but not required to run the software.";
    EXPECT_EQ(Graded(GradeLocalAdmin, {true, "ann"}), Record('I', "User 'ann' is local admin", rights));
    EXPECT_EQ(Graded(GradeLocalAdmin, {false, ""}), Record('I', "User '' is not a local admin", rights));
}

TEST(DomainMembership, FirstFailureThenTheWorkstationRecord)
{
    DomainMembershipFacts f;  // no version record: platform 0
    const std::string notNt = "Unable to test domain membership on this operating system.";
    EXPECT_EQ(Graded(GradeDomainMembership, f), Record('I', notNt, notNt));

    f.platformId = kPlatformWin32Nt;
    f.securityLibrary.errorCode = 126;
    f.networkLibrary.errorCode = 4294967295u;
    const std::string advapi = "Unable to test domain membership.  ADVAPI32.DLL did not load.  Error Code: 126";
    EXPECT_EQ(Graded(GradeDomainMembership, f), Record('I', advapi, advapi));
    f.securityLibrary.loaded = true;
    const std::string netapi =
        "Unable to test domain membership.  NETAPI32.DLL did not load.  Error Code: 4294967295";
    EXPECT_EQ(Graded(GradeDomainMembership, f), Record('I', netapi, netapi));
    f.networkLibrary.loaded = true;
    const std::string lsa = "Unable to test domain membership.  LSA DLLs did not load.";
    EXPECT_EQ(Graded(GradeDomainMembership, f), Record('I', lsa, lsa));

    f.functionsFound = true;
    f.domainSidPresent = true;  // not told without the workstation record
    f.computerName = "PC1";
    const std::string optional = "Domain membership is optional.  This test is informational only.";
    EXPECT_EQ(Graded(GradeDomainMembership, f), Record('I', "Non-domain member: PC1", optional));
    f.workstation = WorkstationNames{"CORP", "PC1"};
    EXPECT_EQ(Graded(GradeDomainMembership, f), Record('I', "Domain Member: CORP\\PC1", optional));
    f.domainSidPresent = false;
    f.workstation = WorkstationNames{"WORKGROUP", "PC1"};
    EXPECT_EQ(Graded(GradeDomainMembership, f), Record('I', "Non-Domain Member: WORKGROUP\\PC1", optional));
    f.workstation = WorkstationNames{std::string(300, 'D'), "PC1"};
    EXPECT_EQ(std::get<1>(Graded(GradeDomainMembership, f)).size(), 255u);
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
    EXPECT_EQ(Graded(GradeUsb20, Usb20Facts{}), Record('I', "USB NOT detected (any version)", heading));
}
