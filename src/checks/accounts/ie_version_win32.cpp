#include "checks/accounts/ie_version.h"

#include "platform/registry_win32.h"

void CheckIeVersion(TestResult& result)
{
    IeVersionFacts facts;
    facts.svcVersion = ReadRegKeyValueText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Internet Explorer", "svcVersion");
    GradeIeVersion(facts, result);
}
