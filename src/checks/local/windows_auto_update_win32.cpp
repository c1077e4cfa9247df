#include "checks/local/windows_auto_update.h"

#include "platform/registry_win32.h"
#include "platform/scoped_win32.h"

namespace {

const char* const kPolicyKey = "SOFTWARE\\Policies\\Microsoft\\Windows\\WindowsUpdate\\AU";
const char* const kSettingKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\WindowsUpdate\\Auto Update";
const char* const kResultsKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\WindowsUpdate\\Auto Update\\Results\\Install";

bool OpenNativeKey(const char* path, ScopedRegKey& key)
{
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, NativeViewReadAccess(), key.Receive()) == ERROR_SUCCESS;
}

} // namespace

WindowsAutoUpdateFacts QueryWindowsAutoUpdateFacts()
{
    WindowsAutoUpdateFacts facts;
    ScopedRegKey switches;
    if (OpenNativeKey(kPolicyKey, switches))
        facts.source = AutoUpdateSource::Policy;
    else if (OpenNativeKey(kSettingKey, switches))
        facts.source = AutoUpdateSource::Setting;
    if (switches) {
        // Read as 4-byte numbers whatever their type; a missing value is 0,
        // which leaves updates on.
        facts.noAutoUpdate = ReadRegRawNumber(switches.Get(), "NoAutoUpdate");
        facts.auOptions = ReadRegRawNumber(switches.Get(), "AUOptions");
    }

    ScopedRegKey results;
    if (OpenNativeKey(kResultsKey, results)) {
        facts.resultsKeyOpened = true;
        facts.lastSuccessTime = ReadRegBoundedText(results.Get(), "LastSuccessTime", 128);
    }

    SYSTEMTIME now = {};
    GetSystemTime(&now);
    FILETIME nowFileTime = {};
    SystemTimeToFileTime(&now, &nowFileTime);
    facts.nowFileTime = static_cast<int64_t>((static_cast<uint64_t>(nowFileTime.dwHighDateTime) << 32) |
                                             nowFileTime.dwLowDateTime);
    return facts;
}

void CheckWindowsAutoUpdate(TestResult& result)
{
    GradeWindowsAutoUpdate(QueryWindowsAutoUpdateFacts(), result);
}
