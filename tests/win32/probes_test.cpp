#include "app/error_text_win32.h"
#include "platform/file_version_info.h"
#include "platform/registry_win32.h"
#include "platform/wow64_win32.h"
#include "registry_scratch.h"
#include "report_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(RegistryProbe, ValueTypesThroughTheNativeView)
{
    // The test prefix is 64-bit, so the 32-bit build runs under WOW64 on x64.
#if defined(_WIN64)
    EXPECT_FALSE(IsRunningUnderWow64());
#else
    EXPECT_TRUE(IsRunningUnderWow64());
#endif
    EXPECT_EQ(GetNativeProcessorArchitecture(), 9);
    const char* const path = "Software\\KavloTests\\Probes";
    {
        ScratchKey key(HKEY_CURRENT_USER, path, KEY_WOW64_64KEY);
        key.Set("WithNul", REG_SZ, std::string("hello", 6));
        key.Set("NoNul", REG_SZ, "world");
        key.SetDword("Number", 4096);
        key.Set("Expand", REG_EXPAND_SZ, std::string("%TEMP%", 7));
        key.Set("Empty", REG_SZ, "");
        const std::pair<const char*, std::optional<std::string>> values[] = {
            {"WithNul", "hello"}, {"NoNul", "world"}, {"Number", "4096"},
            {"Expand", std::nullopt}, {"Empty", ""}, {"Missing", std::nullopt},
        };
        for (const auto& [name, text] : values)
            EXPECT_EQ(ReadRegKeyValueText(HKEY_CURRENT_USER, path, name), text) << name;
    }
    EXPECT_EQ(ReadRegKeyValueText(HKEY_CURRENT_USER, path, "WithNul"), std::nullopt);  // no such key
}

TEST(FileVersionProbe, ResourceOfTheProgram)
{
    const char* exe = std::getenv("KAVLO_EXE");
    ASSERT_NE(exe, nullptr);
    std::string path = std::string("Z:") + exe;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    FileVersionInfo program(path.c_str());
    ASSERT_TRUE(program.loaded) << path;
    EXPECT_EQ(program.productName, "Kavlo");
    ASSERT_TRUE(program.legalCopyright.has_value());
    EXPECT_NE(program.legalCopyright->find("Velmora Financial Services, Inc."), std::string::npos);
    EXPECT_EQ(FormatVersion(32, program.fileVersion), KAVLO_VERSION_TEXT_FOR_TESTS);
    EXPECT_EQ(FormatVersion(32, program.productVersion), KAVLO_VERSION_TEXT_FOR_TESTS);
}

TEST(ErrorText, SystemAndWinInetTables)
{
    LoadLibraryA("wininet.dll");  // the table comes from the loaded module
    std::string text;
    for (DWORD code : {2, 12007}) {
        ASSERT_TRUE(FormatErrorText(code, text)) << code;
        EXPECT_FALSE(text.empty());
        EXPECT_NE(text.back(), '\n');
    }
    EXPECT_FALSE(FormatErrorText(0x3FFFFFFF, text));
    EXPECT_TRUE(text.empty());
}

// The box that the upload shows for a failed step: the system's text as it
// stands, "%1" included, and a box of its own for a number without text.
TEST(ErrorBox, TextWithInsertsAndNumberWithoutText)
{
    char system[512] = {};
    ASSERT_NE(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             ERROR_BAD_EXE_FORMAT, 0, system, sizeof(system), nullptr),
              0u);
    ASSERT_NE(std::string(system).find("%1"), std::string::npos) << system;
    const std::pair<DWORD, std::string> cases[] = {
        {ERROR_BAD_EXE_FORMAT, std::string("Error Message|") + system},
        {0x3FFFFFFF, "Error|Unable to format message"},
    };
    for (const auto& [code, expected] : cases) {
        std::string shown;
        const auto answer = [&shown](const char* caption) {
            return [&shown, caption](HWND box) {
                shown = caption + ("|" + MessageOf(box));
                Press(box, IDOK);
            };
        };
        DialogWatcher withText("Error Message", answer("Error Message"));
        DialogWatcher withoutText("Error", answer("Error"));
        SetLastError(code);
        ShowLastErrorBox("HttpSendRequestEx()");
        EXPECT_EQ(withText.Finish() + withoutText.Finish(), 1) << code;
        EXPECT_EQ(shown, expected) << code;
    }
}
