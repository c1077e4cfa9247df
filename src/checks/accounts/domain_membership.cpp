#include "checks/accounts/domain_membership.h"

#include "app/text_format.h"

namespace {

void WriteBoth(TestResult& result, const std::string& text)
{
    result.summary = text;
    result.details = text;
}

// The load failure's text, then its error number; details repeat it whole
// so that the report carries the number too.
void WriteLoadFailure(TestResult& result, const char* text, uint32_t errorCode)
{
    WriteBoth(result, std::string(text) + FormatBounded(256, "Error Code: %lu", static_cast<unsigned long>(errorCode)));
}

} // namespace

void GradeDomainMembership(const DomainMembershipFacts& facts, TestResult& result)
{
    result.status = 'I';
    if (facts.platformId != kPlatformWin32Nt) {
        WriteBoth(result, "Unable to test domain membership on this operating system.");
        return;
    }
    if (!facts.securityLibrary.loaded) {
        WriteLoadFailure(result, "Unable to test domain membership.  ADVAPI32.DLL did not load.  ",
                         facts.securityLibrary.errorCode);
        return;
    }
    if (!facts.networkLibrary.loaded) {
        WriteLoadFailure(result, "Unable to test domain membership.  NETAPI32.DLL did not load.  ",
                         facts.networkLibrary.errorCode);
        return;
    }
    if (!facts.functionsFound) {
        WriteBoth(result, "Unable to test domain membership.  LSA DLLs did not load.");
        return;
    }

    result.details = "Domain membership is optional.  This test is informational only.";
    if (facts.workstation) {
        // Each name stands for a 256-byte buffer of its own.
        result.summary = FormatBounded(256, "%s: %s\\%s", facts.domainSidPresent ? "Domain Member" : "Non-Domain Member",
                                       CutToBuffer(facts.workstation->domainName, 256).c_str(),
                                       CutToBuffer(facts.workstation->computerName, 256).c_str());
    } else {
        result.summary = FormatBounded(256, "Non-domain member: %s", CutToBuffer(facts.computerName, 256).c_str());
    }
}
