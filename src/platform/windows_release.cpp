#include "platform/windows_release.h"

#include "app/text_format.h"

#include <strings.h>

namespace {

bool EqualsIgnoringCase(const std::string& a, const char* b)
{
    return strcasecmp(a.c_str(), b) == 0;
}

void Set(WindowsRelease& release, int code, const char* name)
{
    release.osCode = code;
    release.osName = name;
}

void NameWindows9x(const WindowsVersionFacts& f, WindowsRelease& r)
{
    if (f.major != 4)
        return;
    const char second = f.csdVersion.size() > 1 ? f.csdVersion[1] : '\0';
    if (f.minor == 0) {
        if (second == 'C' || second == 'B')
            Set(r, 2, "Windows 95 OSR2");
        else
            Set(r, 1, "Windows 95");
    } else if (f.minor == 10) {
        if (second == 'A')
            Set(r, 4, "Windows 98 SE");
        else
            Set(r, 3, "Windows 98");
    } else if (f.minor == 90) {
        Set(r, 5, "Windows ME");
    }
}

void NameByVersionLadder(const WindowsVersionFacts& f, WindowsRelease& r)
{
    if (f.major == 6 && f.minor >= 2)
        Set(r, 28, "Windows 8");
    else if (f.major == 6 && f.minor == 1)
        Set(r, 25, "Windows 7");
    else if (f.major == 6 && f.minor == 0)
        Set(r, 24, "Windows Vista");
    else if (f.major == 5 && f.minor == 2)
        Set(r, 19, "Windows 2003");
    else if (f.major == 5 && f.minor == 1)
        Set(r, 16, "Windows XP Unknown");
    else if (f.major == 5 && f.minor == 0)
        Set(r, 11, "Windows 2000 Unknown");
    else if (f.major <= 4)
        Set(r, 6, "Windows NT Unknown");
}

void RefineByProductType(const WindowsVersionFacts& f, WindowsRelease& r)
{
    constexpr uint16_t kPersonal = 0x200;
    constexpr uint16_t kDatacenter = 0x80;
    constexpr uint16_t kEnterprise = 0x2;
    constexpr uint16_t kBlade = 0x400;
    const bool is52 = f.major == 5 && f.minor == 2;
    const bool is50 = f.major == 5 && f.minor == 0;

    if (f.productType == 1) {
        if (f.major == 4) {
            Set(r, 8, "Windows NT 4.0 Workstation");
        } else if (f.suiteMask & kPersonal) {
            if (f.major == 5 && f.minor == 1)
                Set(r, 17, "Windows XP Home");
        } else if (f.major >= 6) {
            // the ladder's name stands
        } else if (f.minor == 1) {
            Set(r, 18, "Windows XP Professional");
        } else if (f.minor == 0) {
            Set(r, 12, "Windows 2000 Professional");
        }
    } else if (f.productType == 3) {
        if (is52) {
            if (f.suiteMask & kDatacenter)
                Set(r, 21, "Windows 2003 Data Center");
            else if (f.suiteMask & kEnterprise)
                Set(r, 20, "Windows 2003 Enterprise");
            else if (f.suiteMask == kBlade)
                Set(r, 22, "Windows 2003 Blade Server");
            else
                Set(r, 19, "Windows 2003");
        } else if (is50) {
            if (f.suiteMask & kDatacenter)
                Set(r, 14, "Windows 2000 Data Center");
            else if (f.suiteMask & kEnterprise)
                Set(r, 15, "Windows 2000 Advanced");
            else
                Set(r, 13, "Windows 2000 Server");
        } else if (f.major <= 4) {
            if (f.suiteMask & kEnterprise)
                Set(r, 10, "Windows NT 4.0 Enterprise");
            else
                Set(r, 9, "Windows NT 4.0 Server");
        }
    }
}

void RefineByProductOptions(const WindowsVersionFacts& f, WindowsRelease& r)
{
    if (!f.readProductTypeValue)
        return;
    const std::optional<std::string> value = f.readProductTypeValue();
    if (!value)
        return;
    const bool is52 = f.major == 5 && f.minor == 2;
    const bool is50 = f.major == 5 && f.minor == 0;
    if (EqualsIgnoringCase(*value, "WINNT")) {
        if (f.major <= 4)
            Set(r, 8, "Windows NT 4.0 Workstation");
    } else if (EqualsIgnoringCase(*value, "LANMANNT")) {
        if (is52)
            Set(r, 19, "Windows 2003 Server");
        else if (is50)
            Set(r, 13, "Windows 2000 Server");
        else if (f.major <= 4)
            Set(r, 9, "Windows NT 4.0 Server");
    } else if (EqualsIgnoringCase(*value, "SERVERNT")) {
        if (is52)
            Set(r, 20, "Windows 2003 Enterprise");
        else if (is50)
            Set(r, 15, "Windows 2000 Advanced");
        else if (f.major <= 4)
            Set(r, 10, "Windows NT 4.0 Enterprise");
    }
}

} // namespace

WindowsRelease NameWindowsRelease(const WindowsVersionFacts& f)
{
    WindowsRelease r;
    if (!f.haveRecord)
        return r;
    const int spMajor = f.haveExtendedInfo ? f.servicePackMajor : 0;
    const int spMinor = f.haveExtendedInfo ? f.servicePackMinor : 0;
    r.servicePackText = FormatBounded(64, "SP%d.%d", spMajor, spMinor);

    switch (f.platformId) {
    case 0:
        Set(r, 23, "Windows 32s");
        return r;
    case 1:
        NameWindows9x(f, r);
        return r;
    case 2:
        break;
    default:
        return r;
    }

    NameByVersionLadder(f, r);
    if (f.haveExtendedInfo)
        RefineByProductType(f, r);
    else
        RefineByProductOptions(f, r);

    if (f.major == 4 && EqualsIgnoringCase(f.csdVersion, "Service Pack 6") && f.hasHotfixQ246009 &&
        f.hasHotfixQ246009())
        r.servicePackText = "SP 6a";
    return r;
}
