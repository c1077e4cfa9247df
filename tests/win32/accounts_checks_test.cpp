#include "checks/accounts/domain_membership_win32.h"
#include "checks/accounts/local_admin_win32.h"
#include "platform/scoped_win32.h"

#include <gtest/gtest.h>

namespace {

std::string UserName()
{
    char name[257] = {};
    DWORD size = sizeof(name);
    return GetUserNameA(name, &size) ? name : "";
}

// Runs the rest of the test as the given token on this thread; back to the
// process's own identity on destruction.
class ThreadImpersonation {
public:
    explicit ThreadImpersonation(HANDLE token) { active_ = SetThreadToken(nullptr, token) != FALSE; }
    ~ThreadImpersonation()
    {
        if (active_)
            RevertToSelf();
    }
    bool active() const { return active_; }

private:
    bool active_ = false;
};

PSID AdministratorsSid(BYTE (&buffer)[SECURITY_MAX_SID_SIZE])
{
    DWORD size = sizeof(buffer);
    return CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, buffer, &size) ? buffer : nullptr;
}

} // namespace

TEST(LocalAdminOnWine, ProcessTokenOfTheAdministrator)
{
    // This Wine's user is an administrator and the thread impersonates no one.
    TestResult result;
    CheckLocalAdmin(result);
    EXPECT_EQ(result.status, 'I');
    ASSERT_FALSE(UserName().empty());
    EXPECT_EQ(result.summary, "User '" + UserName() + "' is local admin");
    EXPECT_EQ(result.details,
              "Administrative rights are required to install the software, but not required to run the software.");
}

TEST(LocalAdminOnWine, ThreadTokenIsJudgedWhenThreadImpersonates)
{
    ASSERT_TRUE(ImpersonateSelf(SecurityImpersonation));
    EXPECT_TRUE(IsLocalAdmin());
    RevertToSelf();

    // The same user with the Administrators group kept only for denial.
    ScopedHandle process;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, process.Receive()));
    BYTE sidBuffer[SECURITY_MAX_SID_SIZE];
    SID_AND_ATTRIBUTES denyOnly = {AdministratorsSid(sidBuffer), 0};
    ASSERT_NE(denyOnly.Sid, nullptr);
    ScopedHandle filtered;
    ASSERT_TRUE(CreateRestrictedToken(process.Get(), 0, 1, &denyOnly, 0, nullptr, 0, nullptr, filtered.Receive()));
    ScopedHandle impersonation;
    ASSERT_TRUE(DuplicateToken(filtered.Get(), SecurityImpersonation, impersonation.Receive()));
    {
        ThreadImpersonation as(impersonation.Get());
        ASSERT_TRUE(as.active());
        EXPECT_FALSE(IsLocalAdmin());
        TestResult result;
        CheckLocalAdmin(result);
        EXPECT_EQ(result.status, 'I');
        EXPECT_EQ(result.summary, "User '" + UserName() + "' is not a local admin");
    }
    EXPECT_TRUE(IsLocalAdmin());  // back to the process token
}

TEST(LocalAdminOnWine, FailedStepReadsAsNotAdmin)
{
    // An identification-level thread token cannot be raised to the
    // impersonation copy the test needs: a failure, so not an administrator.
    ScopedHandle process;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, process.Receive()));
    ScopedHandle identification;
    ASSERT_TRUE(DuplicateToken(process.Get(), SecurityIdentification, identification.Receive()));
    ThreadImpersonation as(identification.Get());
    ASSERT_TRUE(as.active());
    EXPECT_FALSE(IsLocalAdmin());
}

TEST(DomainMembershipOnWine, PolicyAndWorkstationQueries)
{
    const DomainMembershipFacts facts = QueryDomainMembershipFacts();
    EXPECT_EQ(facts.platformId, kPlatformWin32Nt);
    EXPECT_TRUE(facts.securityLibrary.loaded);
    EXPECT_TRUE(facts.networkLibrary.loaded);
    ASSERT_TRUE(facts.functionsFound);
    // This Wine's DNS-domain record carries a domain identifier, and its
    // workstation record names the host as computer and group.
    EXPECT_TRUE(facts.domainSidPresent);
    ASSERT_TRUE(facts.workstation.has_value());
    char computer[256] = {};
    DWORD size = sizeof(computer);
    ASSERT_TRUE(GetComputerNameA(computer, &size));
    EXPECT_EQ(facts.workstation->computerName, computer);
    EXPECT_FALSE(facts.workstation->domainName.empty());

    TestResult result;
    CheckDomainMembership(result);
    EXPECT_EQ(result.status, 'I');
    EXPECT_EQ(result.summary, "Domain Member: " + facts.workstation->domainName + "\\" + computer);
    EXPECT_EQ(result.details, "Domain membership is optional.  This test is informational only.");
}
