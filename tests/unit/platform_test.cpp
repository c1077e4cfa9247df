#include "platform/registry_text.h"
#include "platform/windows_release.h"

#include <gtest/gtest.h>

namespace {

WindowsVersionFacts Facts(uint32_t platformId, uint32_t major, uint32_t minor, uint8_t productType,
                          uint16_t suiteMask, const char* csd, bool extended = true)
{
    WindowsVersionFacts f = {true, extended, platformId, major, minor, 0, 0, csd, suiteMask, productType, {}, {}};
    if (extended)  // ProductType is read only without the extended record
        f.readProductTypeValue = [] { return ADD_FAILURE() << "ProductType read", std::optional<std::string>(); };
    return f;
}

using Release = std::pair<int, std::string>;  // code, name

Release Named(const WindowsVersionFacts& f)
{
    const WindowsRelease r = NameWindowsRelease(f);
    return {r.osCode, r.osName ? r.osName : "<none>"};
}

} // namespace

TEST(WindowsRelease, NamingTableWithExtendedRecord)
{
    // platform id, major, minor, product type, suite mask, szCSDVersion: code and name
    const std::tuple<uint32_t, uint32_t, uint32_t, uint8_t, uint16_t, const char*, int, const char*> rows[] = {
        {0, 3, 10, 0, 0, "", 23, "Windows 32s"},        {1, 4, 0, 0, 0, " B", 2, "Windows 95 OSR2"},
        {1, 4, 10, 0, 0, " A", 4, "Windows 98 SE"},     {1, 4, 20, 0, 0, "", 0, "<none>"},
        {2, 4, 0, 3, 0x2, "", 10, "Windows NT 4.0 Enterprise"}, {2, 4, 0, 2, 0, "", 6, "Windows NT Unknown"},
        {2, 5, 0, 3, 0x80, "", 14, "Windows 2000 Data Center"}, {3, 6, 1, 1, 0, "", 0, "<none>"},
        {2, 5, 1, 1, 0x200, "", 17, "Windows XP Home"}, {2, 5, 1, 1, 0, "", 18, "Windows XP Professional"},
        {2, 5, 2, 1, 0, "", 19, "Windows 2003"},  // XP x64 reports 5.2 workstation
        {2, 5, 2, 3, 0x82, "", 21, "Windows 2003 Data Center"}, {2, 5, 2, 3, 0x410, "", 19, "Windows 2003"},
        {2, 5, 2, 3, 0x400, "", 22, "Windows 2003 Blade Server"}, {2, 6, 1, 3, 0, "", 25, "Windows 7"},
        {2, 6, 3, 1, 0, "", 28, "Windows 8"},           {2, 10, 0, 1, 0, "", 0, "<none>"},
    };
    for (const auto& [platformId, major, minor, productType, suiteMask, csd, code, name] : rows)
        EXPECT_EQ(Named(Facts(platformId, major, minor, productType, suiteMask, csd)), Release(code, name))
            << platformId << " " << major << "." << minor;
    EXPECT_EQ(Named(WindowsVersionFacts()), Release(0, "<none>"));  // no record at all
}

TEST(WindowsRelease, ProductOptionsReadOnceWithoutExtendedRecord)
{
    const std::tuple<uint32_t, uint32_t, std::optional<std::string>, int, const char*> cases[] = {
        {5, 2, "lanmannt", 19, "Windows 2003 Server"},     {4, 0, "ServerNT", 10, "Windows NT 4.0 Enterprise"},
        {5, 1, "WinNT", 16, "Windows XP Unknown"},         {5, 0, std::nullopt, 11, "Windows 2000 Unknown"},
    };
    for (const auto& [major, minor, value, code, name] : cases) {
        WindowsVersionFacts f = Facts(2, major, minor, 3, 0x2, "", false);
        int asked = 0;
        f.readProductTypeValue = [&, value = value] { return ++asked, value; };
        EXPECT_EQ(Named(f), Release(code, name));
        EXPECT_EQ(asked, 1);
    }
}

TEST(WindowsRelease, ServicePackText)
{
    // major, extended record, service pack major, szCSDVersion, hotfix Q246009: the text
    const std::tuple<uint32_t, bool, uint16_t, const char*, bool, const char*> cases[] = {
        {6, false, 1, "Service Pack 1", false, "SP0.0"},  // the basic record has no numbers
        {4, true, 6, "service pack 6", true, "SP 6a"},    // 6a is 6 with its hotfix
        {4, true, 6, "service pack 6", false, "SP6.0"},
        {4, true, 6, "Service Pack 5", true, "SP6.0"},
    };
    for (const auto& [major, extended, servicePack, csd, hotfix, text] : cases) {
        WindowsVersionFacts f = Facts(2, major, 0, 1, 0, csd, extended);
        f.servicePackMajor = servicePack;
        f.hasHotfixQ246009 = [hotfix = hotfix] { return hotfix; };
        EXPECT_EQ(NameWindowsRelease(f).servicePackText, text) << csd << " " << hotfix;
    }
}

// The shapes the Wine runs of the probes and checks leave out.
TEST(RegistryText, TerminatorsTypesAndBuffers)
{
    using Text = std::optional<std::string>;
    // type, data, the buffer a bounded read offers, as text, as bounded text
    const std::tuple<uint32_t, std::string, size_t, Text, Text> cases[] = {
        {kRegTypeSz, "abcdefgh", 8, "abcdefgh", "abcdefg"},  // fills the buffer: seven remain, terminated
        {kRegTypeSz, std::string("abc") + std::string(20, '\0'), 8, "abc", "abc"},  // measured to the first NUL
        {kRegTypeSz, "a", 0, "a", std::nullopt},
        {kRegTypeExpandSz, std::string("%x%\0", 4), 8, std::nullopt, "%x%"},
        {kRegTypeDword, std::string("\xff\xff\xff\xff", 4), 8, "4294967295", std::nullopt},
    };
    for (const auto& [type, data, bufferSize, text, bounded] : cases) {
        const auto* bytes = reinterpret_cast<const uint8_t*>(data.data());
        EXPECT_EQ(RegistryDataAsText(type, bytes, data.size()), text) << data;
        EXPECT_EQ(RegistryDataAsBoundedText(type, bytes, data.size(), bufferSize), bounded) << data;
    }
    EXPECT_EQ(RegistryDataAsNumber(nullptr, 4), 0u);
}
