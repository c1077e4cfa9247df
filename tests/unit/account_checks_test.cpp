#include "checks/accounts/domain_membership.h"
#include "checks/accounts/usb20.h"
#include "graded.h"

#include <gtest/gtest.h>

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
    f.workstation = WorkstationNames{"CORP", "PC1"};
    EXPECT_EQ(Graded(GradeDomainMembership, f), Record('I', "Domain Member: CORP\\PC1", optional));
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
    EXPECT_EQ(Graded(GradeUsb20, Usb20Facts{}), Record('I', "USB NOT detected (any version)", heading));
}
