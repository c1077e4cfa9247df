#include "checks/check_functions.h"
#include "registry_scratch.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

TestResult RunCheck(CheckFunction check)
{
    TestResult result;  // the runner's pre-set F
    check(result);
    return result;
}

// blank.html in the temporary folder, as text, or "(none)".
std::string ProbeFileText()
{
    char folder[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, folder);
    std::ifstream file(std::string(folder) + "blank.html", std::ios::binary);
    return file ? std::string(std::istreambuf_iterator<char>(file), {}) : "(none)";
}

} // namespace

TEST(IeVersionOnWine, SvcVersionOfTheNativeView)
{
    const char* const ie = "SOFTWARE\\Microsoft\\Internet Explorer";
    ScratchKey native(HKEY_LOCAL_MACHINE, ie, KEY_WOW64_64KEY), redirected(HKEY_LOCAL_MACHINE, ie, KEY_WOW64_32KEY);
    redirected.SetText("svcVersion", "11.0.9600.1");  // must not mislead a 32-bit program
    native.SetText("svcVersion", "11.0.9600.17843");
    EXPECT_EQ(RunCheck(CheckIeVersion).summary, "11.0.9600.17843");
    native.SetText("svcVersion", "10.0.9200.16384");
    EXPECT_EQ(RunCheck(CheckIeVersion).status, 'F');
    native.SetDword("svcVersion", 11);
    const TestResult result = RunCheck(CheckIeVersion);
    EXPECT_EQ(result.status, 'A');
    EXPECT_EQ(result.summary, "11");
    native.Remove("svcVersion");
    EXPECT_EQ(RunCheck(CheckIeVersion).details, "Internet Explorer Registry value is missing.");
}

TEST(DefaultWebBrowserOnWine, AssociationProbePageAndVersions)
{
    // FindExecutableA reads HKEY_CLASSES_ROOT (HKLM\Software\Classes, one key
    // for both views); this prefix has no ".html" class of its own.
    ScratchKey extension(HKEY_CLASSES_ROOT, ".html", 0);
    extension.Remove("");
    EXPECT_EQ(RunCheck(CheckDefaultWebBrowser).summary, "");
    EXPECT_EQ(ProbeFileText(), "(none)");

    // Wine's own class, opened by winebrowser.exe; the user's blank.html is kept.
    extension.SetText("", "htmlfile");
    char folder[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, folder);
    std::ofstream(std::string(folder) + "blank.html", std::ios::binary) << "<p>mine</p>";
    EXPECT_EQ(RunCheck(CheckDefaultWebBrowser).summary, "winebrowser");
    EXPECT_EQ(ProbeFileText(), "<p>mine</p>");
    DeleteFileA((std::string(folder) + "blank.html").c_str());

    // Browsers of the test's naming, their versions in the native view only.
    extension.SetText("", "KavloTests.Page");
    ScratchKey command(HKEY_CLASSES_ROOT, "KavloTests.Page\\shell\\open\\command", 0);
    ScratchKey firefox(HKEY_LOCAL_MACHINE, "SOFTWARE\\Mozilla\\Mozilla Firefox", KEY_WOW64_64KEY);
    ScratchKey chrome(HKEY_LOCAL_MACHINE, "SOFTWARE\\Google\\Chrome\\BLBeacon", KEY_WOW64_32KEY);
    firefox.SetText("CurrentVersion", "115.3.1 (x64 en-US)");
    chrome.SetText("version", "120.0.6099.71");
    command.SetText("", "\"C:\\Program Files\\Mozilla Firefox\\FIREFOX.EXE\" -url \"%1\"");
    EXPECT_EQ(RunCheck(CheckDefaultWebBrowser).summary, "firefox  115.3.1 (x64 en-US)");
    command.SetText("", "\"C:\\Program Files (x86)\\Google\\Chrome\\Application\\chrome.exe\"");
    EXPECT_EQ(RunCheck(CheckDefaultWebBrowser).summary, "chrome");  // its version is in the redirected view
    EXPECT_EQ(ProbeFileText(), "(none)");
}
