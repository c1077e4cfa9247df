#include "app/error_text_win32.h"
#include "platform/file_version_info.h"
#include "platform/registry_win32.h"
#include "platform/scoped_win32.h"
#include "platform/windows_version_win32.h"
#include "platform/wow64_win32.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

const char* const kTestKey = "Software\\KavloTests\\Probes";

// A key of the test's own in the native (64-bit) view, removed afterwards.
class RegistryProbe : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY,
                                  nullptr, key_.Receive(), nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override
    {
        key_.Reset();
        RegDeleteKeyExA(HKEY_CURRENT_USER, kTestKey, KEY_WOW64_64KEY, 0);
    }
    void Set(const char* name, DWORD type, const void* data, DWORD size)
    {
        ASSERT_EQ(RegSetValueExA(key_.Get(), name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    }
    ScopedRegKey key_;
};

} // namespace

TEST_F(RegistryProbe, ValueTypesThroughTheNativeView)
{
    Set("WithNul", REG_SZ, "hello", 6);
    Set("NoNul", REG_SZ, "world", 5);
    const DWORD number = 4096;
    Set("Number", REG_DWORD, &number, sizeof(number));
    Set("Expand", REG_EXPAND_SZ, "%TEMP%", 7);
    Set("Empty", REG_SZ, "", 0);

    EXPECT_EQ(ReadRegKeyValueText(HKEY_CURRENT_USER, kTestKey, "WithNul"), "hello");
    EXPECT_EQ(ReadRegKeyValueText(HKEY_CURRENT_USER, kTestKey, "NoNul"), "world");
    EXPECT_EQ(ReadRegKeyValueText(HKEY_CURRENT_USER, kTestKey, "Number"), "4096");
    EXPECT_EQ(ReadRegKeyValueText(HKEY_CURRENT_USER, kTestKey, "Expand"), std::nullopt);
    EXPECT_EQ(ReadRegKeyValueText(HKEY_CURRENT_USER, kTestKey, "Empty"), "");
    EXPECT_EQ(ReadRegKeyValueText(HKEY_CURRENT_USER, kTestKey, "Missing"), std::nullopt);
    EXPECT_EQ(ReadRegKeyValueText(HKEY_CURRENT_USER, "Software\\KavloTests\\NoSuchKey", "WithNul"), std::nullopt);
}

TEST(Wow64Probe, ThirtyTwoBitProgramOnSixtyFourBitWine)
{
    // The test prefix is 64-bit, so this program runs under WOW64 on x64.
    EXPECT_TRUE(IsRunningUnderWow64());
    EXPECT_EQ(GetNativeProcessorArchitecture(), 9);
}

TEST(Wow64Probe, HklmReadsTheNativeView)
{
    // The 64-bit view holds the real ProductName of this Windows.
    const auto name = ReadRegKeyValueText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                                          "ProductName");
    ASSERT_TRUE(name.has_value());
    EXPECT_FALSE(name->empty());
}

TEST(FileVersionProbe, OwnResourceAndTheProgram)
{
    FileVersionInfo own;  // this test program carries the same resource
    ASSERT_TRUE(own.loaded);
    EXPECT_EQ(own.productName, "Kavlo");
    ASSERT_TRUE(own.legalCopyright.has_value());
    EXPECT_NE(own.legalCopyright->find("Velmora Financial Services, Inc."), std::string::npos);
    EXPECT_EQ(FormatVersion(32, own.productVersion), KAVLO_VERSION_TEXT_FOR_TESTS);

    const char* exe = std::getenv("KAVLO_EXE");
    ASSERT_NE(exe, nullptr);
    std::string path = std::string("Z:") + exe;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    FileVersionInfo program(path.c_str());
    ASSERT_TRUE(program.loaded) << path;
    EXPECT_EQ(program.productName, "Kavlo");
    EXPECT_EQ(FormatVersion(32, program.fileVersion), KAVLO_VERSION_TEXT_FOR_TESTS);
}

TEST(FileVersionProbe, FileWithoutResource)
{
    char path[MAX_PATH];
    GetTempPathA(MAX_PATH, path);
    std::string file = std::string(path) + "kavlo-no-version.txt";
    {
        ScopedHandle h(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(h);
    }
    FileVersionInfo info(file.c_str());
    EXPECT_FALSE(info.loaded);
    EXPECT_FALSE(info.productName.has_value());
    EXPECT_EQ(FormatVersion(32, info.productVersion), "0.0.0.0");
    DeleteFileA(file.c_str());
}

TEST(WindowsVersionProbe, WineReportsWindows7Sp1)
{
    WindowsVersion version;
    EXPECT_EQ(version.GetOsCode(), 25);
    EXPECT_STREQ(version.GetOsName(), "Windows 7");
    EXPECT_STREQ(version.GetServicePackText(), "SP1.0");
}

TEST(ErrorText, SystemAndWinInetTables)
{
    std::string text;
    ASSERT_TRUE(FormatErrorText(2, text));
    EXPECT_FALSE(text.empty());
    EXPECT_NE(text.back(), '\n');

    LoadLibraryA("wininet.dll");  // the table comes from the loaded module
    ASSERT_TRUE(FormatErrorText(12007, text));
    EXPECT_FALSE(text.empty());
    EXPECT_NE(text.back(), '\n');

    EXPECT_FALSE(FormatErrorText(0x3FFFFFFF, text));
    EXPECT_TRUE(text.empty());
}
