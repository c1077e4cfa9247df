#include "checks/local/operating_system.h"

#include "platform/registry_win32.h"
#include "platform/scoped_win32.h"
#include "platform/windows_version_win32.h"
#include "platform/wow64_win32.h"

namespace {

// Windows records the moment it was installed as a REG_DWORD of seconds
// since 1970; a value of any other type or size is not a date.
std::optional<int32_t> QueryInstallDate()
{
    ScopedRegKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", 0,
                      NativeViewReadAccess(), key.Receive()) != ERROR_SUCCESS)
        return std::nullopt;
    const std::optional<uint32_t> seconds = ReadRegDword(key.Get(), "InstallDate");
    if (!seconds)
        return std::nullopt;
    return static_cast<int32_t>(*seconds);
}

} // namespace

OperatingSystemFacts QueryOperatingSystemFacts()
{
    OperatingSystemFacts facts;
    const WindowsVersion version;
    facts.osCode = version.GetOsCode();
    facts.osName = version.GetOsName() ? version.GetOsName() : "";
    facts.servicePackText = version.GetServicePackText();
    facts.architecture = GetNativeProcessorArchitecture();
    facts.installDate = QueryInstallDate();
    return facts;
}

void CheckOperatingSystem(TestResult& result)
{
    GradeOperatingSystem(QueryOperatingSystemFacts(), result);
}
