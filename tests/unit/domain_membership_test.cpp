#include "checks/accounts/domain_membership.h"

#include <gtest/gtest.h>

namespace {

const char kOptionalText[] = "Domain membership is optional.  This test is informational only.";

// Everything found; each case spoils what it needs.
DomainMembershipFacts Reachable()
{
    DomainMembershipFacts facts;
    facts.platformId = kPlatformWin32Nt;
    facts.securityLibrary.loaded = true;
    facts.networkLibrary.loaded = true;
    facts.functionsFound = true;
    return facts;
}

TestResult Grade(const DomainMembershipFacts& facts)
{
    TestResult result;
    GradeDomainMembership(facts, result);
    return result;
}

} // namespace

TEST(DomainMembership, FailuresBeforeTheQueriesRepeatTheSummaryInTheDetails)
{
    DomainMembershipFacts notNt = Reachable();
    notNt.platformId = 1;
    DomainMembershipFacts unknownPlatform = Reachable();
    unknownPlatform.platformId = 0;
    DomainMembershipFacts noAdvapi = Reachable();
    noAdvapi.securityLibrary = {false, 126};
    DomainMembershipFacts noNetapi = Reachable();
    noNetapi.networkLibrary = {false, 4294967295u};
    DomainMembershipFacts bothMissing = Reachable();
    bothMissing.securityLibrary = {false, 2};
    bothMissing.networkLibrary = {false, 3};
    DomainMembershipFacts noFunction = Reachable();
    noFunction.functionsFound = false;

    const struct {
        const char* name;
        DomainMembershipFacts facts;
        const char* text;
    } cases[] = {
        {"not NT", notNt, "Unable to test domain membership on this operating system."},
        {"no version", unknownPlatform, "Unable to test domain membership on this operating system."},
        {"Advapi32", noAdvapi, "Unable to test domain membership.  ADVAPI32.DLL did not load.  Error Code: 126"},
        {"NetApi32", noNetapi,
         "Unable to test domain membership.  NETAPI32.DLL did not load.  Error Code: 4294967295"},
        {"first failure wins", bothMissing,
         "Unable to test domain membership.  ADVAPI32.DLL did not load.  Error Code: 2"},
        {"function", noFunction, "Unable to test domain membership.  LSA DLLs did not load."},
    };
    for (const auto& c : cases) {
        const TestResult result = Grade(c.facts);
        EXPECT_EQ(result.status, 'I') << c.name;
        EXPECT_EQ(result.summary, c.text) << c.name;
        EXPECT_EQ(result.details, c.text) << c.name;
    }
}

TEST(DomainMembership, WorkstationRecordNamesDomainOrWorkgroupAndComputer)
{
    DomainMembershipFacts member = Reachable();
    member.domainSidPresent = true;
    member.workstation = WorkstationNames{"CORP", "PC1"};
    DomainMembershipFacts workgroup = Reachable();
    workgroup.workstation = WorkstationNames{"WORKGROUP", "PC1"};
    // UTF-8 names pass through as they came.
    DomainMembershipFacts accented = Reachable();
    accented.workstation = WorkstationNames{"GR\xC3\x9CPPE", "PC\xC3\xA9"};

    const struct {
        DomainMembershipFacts facts;
        const char* summary;
    } cases[] = {
        {member, "Domain Member: CORP\\PC1"},
        {workgroup, "Non-Domain Member: WORKGROUP\\PC1"},
        {accented, "Non-Domain Member: GR\xC3\x9CPPE\\PC\xC3\xA9"},
    };
    for (const auto& c : cases) {
        const TestResult result = Grade(c.facts);
        EXPECT_EQ(result.status, 'I');
        EXPECT_EQ(result.summary, c.summary);
        EXPECT_EQ(result.details, kOptionalText);
    }
}

TEST(DomainMembership, NoWorkstationRecordFallsBackToTheComputerName)
{
    DomainMembershipFacts facts = Reachable();
    facts.domainSidPresent = true;  // membership is not told without the record
    facts.computerName = "PC1";
    const TestResult result = Grade(facts);
    EXPECT_EQ(result.status, 'I');
    EXPECT_EQ(result.summary, "Non-domain member: PC1");
    EXPECT_EQ(result.details, kOptionalText);
}

TEST(DomainMembership, LongNamesAreCutToTheSummaryBuffer)
{
    DomainMembershipFacts facts = Reachable();
    facts.workstation = WorkstationNames{std::string(300, 'D'), "PC1"};
    const TestResult result = Grade(facts);
    EXPECT_EQ(result.summary.size(), 255u);
    EXPECT_EQ(result.summary.rfind("Non-Domain Member: DDD", 0), 0u);
}
