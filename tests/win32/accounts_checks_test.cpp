#include "checks/accounts/domain_membership_win32.h"
#include "checks/accounts/local_admin_win32.h"
#include "platform/scoped_win32.h"

#include <gtest/gtest.h>

TEST(LocalAdminOnWine, ProcessTokenThenThreadTokens)
{
    char name[257] = {};
    DWORD nameSize = sizeof(name);
    ASSERT_TRUE(GetUserNameA(name, &nameSize));
    TestResult result;
    CheckLocalAdmin(result);  // this Wine's user is an administrator
    EXPECT_EQ(result.status, 'I');
    EXPECT_EQ(result.summary, std::string("User '") + name + "' is local admin");
    EXPECT_EQ(result.details,
              "Administrative rights are required to install the software, but not required to run the software.");
    ASSERT_TRUE(ImpersonateSelf(SecurityImpersonation));
    EXPECT_TRUE(IsLocalAdmin());
    RevertToSelf();

    // The same user with the Administrators group kept only for denial, on this thread.
    ScopedHandle process, filtered, impersonation;
    BYTE administrators[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof(administrators);
    ASSERT_TRUE(CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &sidSize));
    SID_AND_ATTRIBUTES denyOnly = {administrators, 0};
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, process.Receive()));
    ASSERT_TRUE(CreateRestrictedToken(process.Get(), 0, 1, &denyOnly, 0, nullptr, 0, nullptr, filtered.Receive()));
    ASSERT_TRUE(DuplicateToken(filtered.Get(), SecurityImpersonation, impersonation.Receive()));
    ASSERT_TRUE(SetThreadToken(nullptr, impersonation.Get()));
    CheckLocalAdmin(result);
    RevertToSelf();
    EXPECT_EQ(result.summary, std::string("User '") + name + "' is not a local admin");
}

TEST(DomainMembershipOnWine, PolicyAndWorkstationQueries)
{
    // This Wine's DNS-domain record carries a domain identifier, and its
    // workstation record names the host as computer and group.
    const DomainMembershipFacts facts = QueryDomainMembershipFacts();
    ASSERT_TRUE(facts.functionsFound && facts.workstation.has_value());
    EXPECT_TRUE(facts.domainSidPresent);
    char computer[256] = {};
    DWORD size = sizeof(computer);
    ASSERT_TRUE(GetComputerNameA(computer, &size));
    TestResult result;
    CheckDomainMembership(result);
    EXPECT_EQ(result.summary, "Domain Member: " + facts.workstation->domainName + "\\" + computer);
    EXPECT_EQ(result.details, "Domain membership is optional.  This test is informational only.");
}
