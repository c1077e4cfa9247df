#include "platform/windows_version_win32.h"

#include "platform/scoped_win32.h"

WindowsVersionFacts QueryWindowsVersionFacts()
{
    WindowsVersionFacts facts;
    OSVERSIONINFOEXA info = {};
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA);
    if (GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) {
        facts.haveExtendedInfo = true;
    } else {
        info = OSVERSIONINFOEXA();
        info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info)))
            return facts;
    }
    facts.haveRecord = true;
    facts.platformId = info.dwPlatformId;
    facts.major = info.dwMajorVersion;
    facts.minor = info.dwMinorVersion;
    facts.csdVersion.assign(info.szCSDVersion, strnlen(info.szCSDVersion, sizeof(info.szCSDVersion)));
    if (facts.haveExtendedInfo) {
        facts.servicePackMajor = info.wServicePackMajor;
        facts.servicePackMinor = info.wServicePackMinor;
        facts.suiteMask = info.wSuiteMask;
        facts.productType = info.wProductType;
    }

    facts.readProductTypeValue = []() -> std::optional<std::string> {
        ScopedRegKey key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\ProductOptions", 0,
                          KEY_QUERY_VALUE, key.Receive()) != ERROR_SUCCESS)
            return std::nullopt;
        char value[80] = {};
        DWORD size = sizeof(value);
        DWORD type = 0;
        if (RegQueryValueExA(key.Get(), "ProductType", nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
            ERROR_SUCCESS)
            return std::nullopt;
        return std::string(value, strnlen(value, size));
    };
    facts.hasHotfixQ246009 = []() {
        ScopedRegKey key;
        return RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Hotfix\\Q246009",
                             0, KEY_QUERY_VALUE, key.Receive()) == ERROR_SUCCESS;
    };
    return facts;
}

WindowsVersion::WindowsVersion() : release_(NameWindowsRelease(QueryWindowsVersionFacts())) {}
