#include "platform/file_version_info.h"
#include "platform/windows_release.h"

#include <gtest/gtest.h>

namespace {

struct Row {
    uint32_t platformId;
    uint32_t major;
    uint32_t minor;
    uint8_t productType;
    uint16_t suiteMask;
    const char* csd;
    int code;
    const char* name;
};

WindowsVersionFacts Facts(const Row& row, bool extended = true)
{
    WindowsVersionFacts f;
    f.haveRecord = true;
    f.haveExtendedInfo = extended;
    f.platformId = row.platformId;
    f.major = row.major;
    f.minor = row.minor;
    f.productType = row.productType;
    f.suiteMask = row.suiteMask;
    f.csdVersion = row.csd;
    return f;
}

std::string NameOf(const WindowsRelease& r)
{
    return r.osName ? r.osName : "<none>";
}

} // namespace

TEST(WindowsRelease, NamingTableWithExtendedRecord)
{
    const Row rows[] = {
        {0, 3, 10, 0, 0, "", 23, "Windows 32s"},
        {1, 4, 0, 0, 0, "", 1, "Windows 95"},
        {1, 4, 0, 0, 0, " C", 2, "Windows 95 OSR2"},
        {1, 4, 0, 0, 0, " B", 2, "Windows 95 OSR2"},
        {1, 4, 10, 0, 0, "", 3, "Windows 98"},
        {1, 4, 10, 0, 0, " A", 4, "Windows 98 SE"},
        {1, 4, 90, 0, 0, "", 5, "Windows ME"},
        {1, 4, 20, 0, 0, "", 0, "<none>"},
        {1, 5, 0, 0, 0, "", 0, "<none>"},
        {2, 4, 0, 1, 0, "", 8, "Windows NT 4.0 Workstation"},
        {2, 4, 0, 3, 0, "", 9, "Windows NT 4.0 Server"},
        {2, 4, 0, 3, 0x2, "", 10, "Windows NT 4.0 Enterprise"},
        {2, 4, 0, 2, 0, "", 6, "Windows NT Unknown"},
        {2, 5, 0, 1, 0, "", 12, "Windows 2000 Professional"},
        {2, 5, 0, 3, 0, "", 13, "Windows 2000 Server"},
        {2, 5, 0, 3, 0x80, "", 14, "Windows 2000 Data Center"},
        {2, 5, 0, 3, 0x2, "", 15, "Windows 2000 Advanced"},
        {2, 5, 0, 2, 0, "", 11, "Windows 2000 Unknown"},  // domain controller
        {2, 5, 1, 0, 0, "", 16, "Windows XP Unknown"},
        {2, 5, 1, 1, 0x200, "", 17, "Windows XP Home"},
        {2, 5, 1, 1, 0, "", 18, "Windows XP Professional"},
        {2, 5, 2, 1, 0, "", 19, "Windows 2003"},  // XP x64 reports 5.2 workstation
        {2, 5, 2, 3, 0, "", 19, "Windows 2003"},
        {2, 5, 2, 3, 0x82, "", 21, "Windows 2003 Data Center"},
        {2, 5, 2, 3, 0x2, "", 20, "Windows 2003 Enterprise"},
        {2, 5, 2, 3, 0x400, "", 22, "Windows 2003 Blade Server"},
        {2, 5, 2, 3, 0x410, "", 19, "Windows 2003"},
        {2, 6, 0, 1, 0, "", 24, "Windows Vista"},
        {2, 6, 1, 1, 0, "", 25, "Windows 7"},
        {2, 6, 1, 1, 0x200, "", 25, "Windows 7"},
        {2, 6, 1, 3, 0, "", 25, "Windows 7"},
        {2, 6, 2, 1, 0, "", 28, "Windows 8"},
        {2, 6, 3, 1, 0, "", 28, "Windows 8"},
        {2, 5, 3, 1, 0, "", 0, "<none>"},
        {2, 10, 0, 1, 0, "", 0, "<none>"},
        {3, 6, 1, 1, 0, "", 0, "<none>"},
    };
    for (const Row& row : rows) {
        const WindowsRelease r = NameWindowsRelease(Facts(row));
        EXPECT_EQ(r.osCode, row.code) << row.platformId << " " << row.major << "." << row.minor;
        EXPECT_EQ(NameOf(r), row.name) << row.platformId << " " << row.major << "." << row.minor;
    }
}

TEST(WindowsRelease, ServicePackText)
{
    WindowsVersionFacts f = Facts({2, 6, 1, 1, 0, "Service Pack 1", 25, ""});
    f.servicePackMajor = 1;
    EXPECT_EQ(NameWindowsRelease(f).servicePackText, "SP1.0");
    f.haveExtendedInfo = false;  // the basic record has no numbers
    EXPECT_EQ(NameWindowsRelease(f).servicePackText, "SP0.0");
    WindowsVersionFacts none;
    const WindowsRelease unread = NameWindowsRelease(none);
    EXPECT_EQ(unread.osCode, 0);
    EXPECT_EQ(unread.osName, nullptr);
}

TEST(WindowsRelease, ProductOptionsWithoutExtendedRecord)
{
    const struct {
        uint32_t major, minor;
        std::optional<std::string> value;
        int code;
        const char* name;
    } cases[] = {
        {5, 2, std::string("lanmannt"), 19, "Windows 2003 Server"},
        {5, 0, std::string("LanmanNT"), 13, "Windows 2000 Server"},
        {4, 0, std::string("LANMANNT"), 9, "Windows NT 4.0 Server"},
        {5, 2, std::string("ServerNT"), 20, "Windows 2003 Enterprise"},
        {5, 0, std::string("SERVERNT"), 15, "Windows 2000 Advanced"},
        {4, 0, std::string("SERVERNT"), 10, "Windows NT 4.0 Enterprise"},
        {4, 0, std::string("WinNT"), 8, "Windows NT 4.0 Workstation"},
        {5, 1, std::string("WinNT"), 16, "Windows XP Unknown"},
        {5, 1, std::string("other"), 16, "Windows XP Unknown"},
        {5, 0, std::nullopt, 11, "Windows 2000 Unknown"},
    };
    for (const auto& c : cases) {
        WindowsVersionFacts f = Facts({2, c.major, c.minor, 3, 0x2, "", 0, ""}, false);
        int asked = 0;
        f.readProductTypeValue = [&]() {
            ++asked;
            return c.value;
        };
        const WindowsRelease r = NameWindowsRelease(f);
        EXPECT_EQ(r.osCode, c.code);
        EXPECT_EQ(NameOf(r), c.name);
        EXPECT_EQ(asked, 1);
    }
    // With the extended record the registry is not asked.
    WindowsVersionFacts f = Facts({2, 5, 2, 3, 0, "", 0, ""});
    f.readProductTypeValue = []() -> std::optional<std::string> {
        ADD_FAILURE() << "ProductType read with the extended record";
        return std::nullopt;
    };
    EXPECT_EQ(NameWindowsRelease(f).osCode, 19);
}

TEST(WindowsRelease, ServicePack6a)
{
    WindowsVersionFacts f = Facts({2, 4, 0, 1, 0, "service pack 6", 8, ""});
    f.servicePackMajor = 6;
    f.hasHotfixQ246009 = [] { return true; };
    EXPECT_EQ(NameWindowsRelease(f).servicePackText, "SP 6a");
    f.hasHotfixQ246009 = [] { return false; };
    EXPECT_EQ(NameWindowsRelease(f).servicePackText, "SP6.0");
    f.csdVersion = "Service Pack 5";
    f.hasHotfixQ246009 = [] { return true; };
    EXPECT_EQ(NameWindowsRelease(f).servicePackText, "SP6.0");
}

TEST(FileVersion, FormatAndWords)
{
    EXPECT_EQ(FormatVersion(32, VersionNumber()), "0.0.0.0");
    const VersionNumber v = VersionFromWords(0x00010002, 0x00030004);
    EXPECT_EQ(FormatVersion(32, v), "1.2.3.4");
    EXPECT_EQ(FormatVersion(32, VersionFromWords(0xFFFFFFFF, 0xFFFFFFFF)), "65535.65535.65535.65535");
    EXPECT_EQ(FormatVersion(4, v), "1.2");
}
