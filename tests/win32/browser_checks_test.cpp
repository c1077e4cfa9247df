#include "checks/check_functions.h"
#include "registry_override.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <fstream>
#include <sstream>

namespace {

const char kIeKey[] = "SOFTWARE\\Microsoft\\Internet Explorer";
const char kMinimumText[] =
    "Minimum Internet Explorer version is 11.0. Internet Explorer version 9.0 & 10.0 will work but is no longer "
    "supported by Microsoft. Internet Explorer components are used to communicate with our servers, independant "
    "of your default browser.";
const char kBrowsersText[] =
    "Mozilla Firefox, Google Chrome, Microsoft Edge, or Microsoft Internet Explorer 11.0 or better.";

std::string ProbeFile()
{
    char folder[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + "blank.html";
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TestResult RunCheck(CheckFunction check)
{
    TestResult result;  // the runner's pre-set F
    check(result);
    return result;
}

// The ".html" association, pointed at a program of the test's choosing
// through a class of its own. HKEY_CLASSES_ROOT is where this Wine's
// FindExecutableA looks (HKLM\Software\Classes, shared by both views).
class HtmlAssociation {
public:
    HtmlAssociation() : extension_(HKEY_CLASSES_ROOT, ".html", nullptr, 0) {}
    void None() { extension_.Remove(); }
    void ToClass(const std::string& className) { ASSERT_TRUE(extension_.SetText(className)); }
    void ToProgram(const std::string& executable)
    {
        command_ = std::make_unique<ScopedTestKey>(HKEY_CLASSES_ROOT, "KavloTests.Page\\shell\\open\\command", 0);
        ASSERT_TRUE(command_->SetText(nullptr, "\"" + executable + "\" -osint -url \"%1\""));
        ToClass("KavloTests.Page");
    }

private:
    RegistryValueOverride extension_;
    std::unique_ptr<ScopedTestKey> command_;
};

} // namespace

TEST(IeVersionOnWine, WineValueApproves)
{
    // This Wine ships svcVersion 11.0.9600.18376 in the native view.
    const TestResult result = RunCheck(CheckIeVersion);
    EXPECT_EQ(result.status, 'A');
    EXPECT_EQ(result.summary.rfind("11.", 0), 0u) << result.summary;
    EXPECT_EQ(result.details, kMinimumText);
}

TEST(IeVersionOnWine, ValuesWrittenToTheNativeViewAreReadBack)
{
    RegistryValueOverride native(HKEY_LOCAL_MACHINE, kIeKey, "svcVersion", KEY_WOW64_64KEY);
    ASSERT_TRUE(native.ok());
    // A 32-bit program must not be misled by the redirected view.
    RegistryValueOverride redirected(HKEY_LOCAL_MACHINE, kIeKey, "svcVersion", KEY_WOW64_32KEY);
    ASSERT_TRUE(redirected.SetText("8.0.7601.17514"));

    const struct {
        const char* name;
        std::function<bool()> write;
        TestStatus status;
        const char* summary;
        std::string details;
    } cases[] = {
        {"eleven", [&] { return native.SetText("11.0.9600.18231"); }, 'A', "11.0.9600.18231", kMinimumText},
        {"ten", [&] { return native.SetText("10.0.9200.16384"); }, 'F', "10.0.9200.16384", kMinimumText},
        {"no dot", [&] { return native.SetText("11"); }, 'A', "11", kMinimumText},
        {"number", [&] { return native.SetDword(11); }, 'A', "11", kMinimumText},
        {"number nine", [&] { return native.SetDword(9); }, 'F', "9", kMinimumText},
        {"corrupt", [&] { return native.SetText("abc"); }, 'F', "Unable to determine",
         "Internet Explorer Registry value is corrupt: abc"},
        {"expandable text", [&] { return native.Set(REG_EXPAND_SZ, "11.0", 5); }, 'F', "Unable to determine",
         "Internet Explorer Registry value is missing."},
        {"absent", [&] { native.Remove(); return true; }, 'F', "Unable to determine",
         "Internet Explorer Registry value is missing."},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(c.write()) << c.name;
        const TestResult result = RunCheck(CheckIeVersion);
        EXPECT_EQ(result.status, c.status) << c.name;
        EXPECT_EQ(result.summary, c.summary) << c.name;
        EXPECT_EQ(result.details, c.details) << c.name;
    }
}

TEST(DefaultWebBrowserOnWine, NoAssociationLeavesTheSummaryEmpty)
{
    HtmlAssociation association;
    association.None();
    const TestResult result = RunCheck(CheckDefaultWebBrowser);
    EXPECT_EQ(result.status, 'I');
    EXPECT_EQ(result.summary, "");
    EXPECT_EQ(result.details, kBrowsersText);
    EXPECT_FALSE(Exists(ProbeFile()));
}

TEST(DefaultWebBrowserOnWine, WineBrowserAssociation)
{
    HtmlAssociation association;
    association.ToClass("htmlfile");  // the class Wine sets up, opened by winebrowser.exe
    const TestResult result = RunCheck(CheckDefaultWebBrowser);
    EXPECT_EQ(result.status, 'I');
    EXPECT_EQ(result.summary, "winebrowser");
    EXPECT_EQ(result.details, kBrowsersText);
    EXPECT_FALSE(Exists(ProbeFile()));
}

TEST(DefaultWebBrowserOnWine, BrowsersAndTheirVersionsFromTheNativeView)
{
    const struct {
        const char* executable;
        const char* key;
        const char* value;
        const char* version;
        const char* summary;
    } cases[] = {
        {"C:\\Program Files\\Mozilla Firefox\\FIREFOX.EXE", "SOFTWARE\\Mozilla\\Mozilla Firefox", "CurrentVersion",
         "115.3.1 (x64 en-US)", "firefox  115.3.1 (x64 en-US)"},
        {"C:\\Program Files (x86)\\Google\\Chrome\\Application\\chrome.exe", "SOFTWARE\\Google\\Chrome\\BLBeacon",
         "version", "120.0.6099.71", "chrome  120.0.6099.71"},
        {"C:\\Program Files\\Internet Explorer\\iexplore.exe", kIeKey, "Version", "9.11.9600.18231",
         "iexplore  9.11.9600.18231"},
        {"C:\\Program Files (x86)\\Microsoft\\Edge\\Application\\msedge.exe", kIeKey, "Version", "9.11.9600.18231",
         "msedge"},
    };
    for (const auto& c : cases) {
        HtmlAssociation association;
        association.ToProgram(c.executable);
        RegistryValueOverride native(HKEY_LOCAL_MACHINE, c.key, c.value, KEY_WOW64_64KEY);
        RegistryValueOverride redirected(HKEY_LOCAL_MACHINE, c.key, c.value, KEY_WOW64_32KEY);
        ASSERT_TRUE(native.SetText(c.version));
        ASSERT_TRUE(redirected.SetText("1.0"));
        TestResult result = RunCheck(CheckDefaultWebBrowser);
        EXPECT_EQ(result.status, 'I') << c.executable;
        EXPECT_EQ(result.summary, c.summary);
        EXPECT_EQ(result.details, kBrowsersText);

        // Without the value the bare name stays.
        native.Remove();
        result = RunCheck(CheckDefaultWebBrowser);
        EXPECT_EQ(result.summary, std::string(c.summary).substr(0, std::string(c.summary).find(' ')));
    }
}

TEST(DefaultWebBrowserOnWine, ProbePageOfTheUserIsKept)
{
    HtmlAssociation association;
    association.ToClass("htmlfile");
    const std::string probe = ProbeFile();
    ASSERT_FALSE(Exists(probe)) << "a blank.html of someone else's is in the way";
    const std::string content = "<html><body>the user's own page</body></html>\n";
    {
        std::ofstream page(probe, std::ios::binary);
        page << content;
    }
    const TestResult result = RunCheck(CheckDefaultWebBrowser);
    EXPECT_EQ(result.summary, "winebrowser");  // the user's file serves the question as well
    std::ifstream page(probe, std::ios::binary);
    std::stringstream kept;
    kept << page.rdbuf();
    page.close();
    EXPECT_EQ(kept.str(), content);
    DeleteFileA(probe.c_str());
}
