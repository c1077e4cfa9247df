// "Domain Membership": whether the computer belongs to a Windows domain, and
// the names of its workgroup or domain and of the computer.
#pragma once

#include "app/test_result.h"

#include <cstdint>
#include <optional>
#include <string>

// A library bound at run time: loaded, or the system error of the failed load.
struct LibraryLoadOutcome {
    bool loaded = false;
    uint32_t errorCode = 0;
};

// The workstation record, both names already UTF-8.
struct WorkstationNames {
    std::string domainName;  // the workgroup or domain
    std::string computerName;
};

// Gathered in the order of the queries; a query that cannot be made (its
// library or function is missing) leaves its fields at their defaults.
struct DomainMembershipFacts {
    uint32_t platformId = 0;  // 2 for the Windows NT family; 0 when unknown
    LibraryLoadOutcome securityLibrary;  // "Advapi32"
    LibraryLoadOutcome networkLibrary;   // "NetApi32"
    bool functionsFound = false;         // all five LSA and workstation functions
    bool domainSidPresent = false;       // the policy's DNS-domain record names a domain
    std::optional<WorkstationNames> workstation;  // none when the query failed
    std::string computerName;  // GetComputerNameA, the fallback when there is no record
};

constexpr uint32_t kPlatformWin32Nt = 2;

// Always informational; every failure is told in the summary.
void GradeDomainMembership(const DomainMembershipFacts& facts, TestResult& result);

void CheckDomainMembership(TestResult& result);
