// The checks on this system: the tests write the registry values a check reads,
// in the view it reads them (kavlo, a 32-bit program under WOW64, reads HKLM in
// the native view; HKCU, HKCR, HARDWARE and System have one), run the real
// check and read the record.
#include "checks/accounts/domain_membership_win32.h"
#include "checks/accounts/local_admin_win32.h"
#include "checks/accounts/usb20_win32.h"
#include "checks/check_functions.h"
#include "registry_scratch.h"
#include "report_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <list>
#include <regex>

namespace {

const char* const kPolicyKey = "SOFTWARE\\Policies\\Microsoft\\Windows\\WindowsUpdate\\AU";
const char* const kSettingKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\WindowsUpdate\\Auto Update";
const std::string kResultsKey = std::string(kSettingKey) + "\\Results\\Install";

TestResult RunCheck(CheckFunction check)
{
    TestResult result;  // the runner's pre-set F
    check(result);
    return result;
}

// Whatever automatic-update keys the test's own prefix came with go, so that
// every case starts from the same, known system.
void RemoveUpdateKeys()
{
    for (const char* path : {kPolicyKey, kSettingKey})
        DeleteKeyTree(HKEY_LOCAL_MACHINE, path, KEY_WOW64_64KEY);
}

// "YYYY-MM-DD hh:mm:ss" of the current UTC time moved by `seconds`.
std::string UtcTimeText(int64_t seconds)
{
    const std::time_t moment = std::time(nullptr) + seconds;
    char text[32] = {};
    std::strftime(text, sizeof(text), "%Y-%m-%d %H:%M:%S", std::gmtime(&moment));
    return text;
}

} // namespace

// Each row writes one value and runs the check; a value too long for the
// check's buffer reads as missing, never as more than was stored.
TEST(LocalChecks, RegistryValuesOfEveryShape)
{
    RemoveUpdateKeys();
    SYSTEM_INFO info = {};
    GetSystemInfo(&info);
    const std::string n = info.dwNumberOfProcessors > 1 ? "(x" + std::to_string(info.dwNumberOfProcessors) + ")" : "";
    ScratchKey os(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", KEY_WOW64_64KEY);
    ScratchKey cpu(HKEY_LOCAL_MACHINE, "Hardware\\Description\\System\\CentralProcessor\\0", KEY_WOW64_64KEY,
                   REG_OPTION_VOLATILE);
    ScratchKey desktop(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0);
    ScratchKey results(HKEY_LOCAL_MACHINE, kResultsKey, KEY_WOW64_64KEY);
    ScratchKey setting(HKEY_LOCAL_MACHINE, kSettingKey, KEY_WOW64_64KEY);  // made with the results key
    const char* const ieKey = "SOFTWARE\\Microsoft\\Internet Explorer";
    ScratchKey ie(HKEY_LOCAL_MACHINE, ieKey, KEY_WOW64_64KEY), redirectedIe(HKEY_LOCAL_MACHINE, ieKey, KEY_WOW64_32KEY);
    redirectedIe.SetText("svcVersion", "11.0.9600.1");  // must not mislead a 32-bit program
    for (const char* name : {"ScreenSaveTimeOut", "ScreenSaveActive", "ScreenSaverIsSecure"})
        desktop.Remove(name);
    const std::string win7 = "Windows 7, SP1.0 (64-bit)", vendor = "Unknown Vendor, ", scr = "'scrnsave', ";
    const std::string when = UtcTimeText(-3 * 86400 - 3600), filling = when + std::string(128 - when.size(), 'x');
    const std::string on = "Enabled (last applied 3 days ago)";
    const auto OS = CheckOperatingSystem, CPU = CheckCpu, SAVER = CheckSecureScreenSaver, AU = CheckWindowsAutoUpdate,
               IE = CheckIeVersion;
    const struct { CheckFunction check; ScratchKey& key; const char* name; DWORD type;
                   std::string data, summary, details = ""; } rows[] = {  // details only where given
        // The install date is a REG_DWORD of four bytes, or no date.
        {OS, os, "InstallDate", REG_DWORD, DwordBytes(1400000000), win7 + " (2014-05-13)"},
        {OS, os, "InstallDate", REG_SZ, std::string("1400000000", 11), win7},
        {OS, os, "InstallDate", REG_DWORD, "", win7},
        {CPU, cpu, "ProcessorNameString", REG_SZ, std::string("   Acme   Quad  Core  ", 23), "Acme Quad Core " + n},
        {CPU, cpu, "~MHz", REG_DWORD, DwordBytes(2394), "Acme Quad Core " + n,
         "Minimum CPU speed is 1.00 GHz.  Recommended CPU speed is 2.00 GHz.Actual Speed: 2.39 GHz."},
        // 256 characters without a terminator fill the whole buffer: 255 are read, terminated.
        {CPU, cpu, "ProcessorNameString", REG_SZ, std::string(256, 'n'), std::string(255, 'n') + n},
        {CPU, cpu, "ProcessorNameString", REG_SZ, std::string(5000, 'z'), vendor + "2.39 GHz" + n},
        {CPU, cpu, "~MHz", REG_SZ, std::string("2394", 5), vendor + "Unknown Speed" + n},
        {SAVER, desktop, "SCRNSAVE.EXE", REG_SZ, std::string("C:\\Windows\\system32\\scrnsave.scr", 33),
         scr + "0 minutes, active:N, secure:N"},
        {SAVER, desktop, "ScreenSaveTimeOut", REG_SZ, std::string("600", 4), scr + "10 minutes, active:N, secure:N"},
        {SAVER, desktop, "ScreenSaveActive", REG_SZ, std::string("1", 2), scr + "10 minutes, active:Y, secure:N"},
        {SAVER, desktop, "ScreenSaverIsSecure", REG_SZ, std::string("1", 2), scr + "10 minutes, active:Y, secure:Y"},
        {SAVER, desktop, "ScreenSaveTimeOut", REG_DWORD, DwordBytes(1200), scr + "20 minutes, active:Y, secure:Y"},
        {SAVER, desktop, "ScreenSaverIsSecure", REG_DWORD, DwordBytes(0), scr + "20 minutes, active:Y, secure:N",
         "We HIGHLY SUGGEST that your computer to be configured with a 'secure' screen saver that requires a password "
         "to unlock and automatically locks the screen after 15 minutes (or less) of inactivity.\n"
         " ** Your screen saver is not 'secure' (does not require password to restore screen). **\n"
         " ** Time limit, 20, exceeds 15 minutes. **\n"},
        // LastSuccessTime is read into 128 bytes, which 128 characters without a terminator fill.
        {AU, results, "LastSuccessTime", REG_SZ, filling, on,
         "Microsoft Windows Updates are enabled and were installed 3 days ago (" + filling.substr(0, 127) + ")"},
        // The switches are 4-byte numbers whatever their type: "0" as text is the byte 0x30.
        {AU, setting, "NoAutoUpdate", REG_SZ, std::string("0", 2), "Disabled (last applied 3 days ago)",
         "Microsoft Windows Automatic Updates are DISABLED and were installed 3 days ago (" + filling.substr(0, 127) +
             ")"},
        {AU, results, "LastSuccessTime", REG_SZ, when + std::string(300, 'x'), "Unable to read required registry key"},
        {IE, ie, "svcVersion", REG_SZ, std::string("11.0.9600.17843", 16), "11.0.9600.17843"},
        {IE, ie, "svcVersion", REG_DWORD, DwordBytes(11), "11"},
        {IE, ie, "svcVersion", REG_EXPAND_SZ, std::string("11.0", 5), "Unable to determine",
         "Internet Explorer Registry value is missing."},
    };
    for (const auto& row : rows) {
        row.key.Set(row.name, row.type, row.data);
        const TestResult result = RunCheck(row.check);
        EXPECT_EQ(result.summary, row.summary) << row.name << " " << row.type << " " << row.data.size();
        if (!row.details.empty()) {
            EXPECT_EQ(result.details, row.details) << row.name;
        }
    }
}

TEST(LocalChecks, AutoUpdatePolicyKeyBeforeSettingKey)
{
    RemoveUpdateKeys();
    {
        ScratchKey results(HKEY_LOCAL_MACHINE, kResultsKey, KEY_WOW64_64KEY);
        ScratchKey setting(HKEY_LOCAL_MACHINE, kSettingKey, KEY_WOW64_64KEY);
        results.SetText("LastSuccessTime", UtcTimeText(-10 * 86400));
        setting.SetDword("AUOptions", 1);
        EXPECT_EQ(RunCheck(CheckWindowsAutoUpdate).summary, "Disabled (last applied 10 days ago)");
        // A policy key, even one without values, takes the setting's place.
        ScratchKey policy(HKEY_LOCAL_MACHINE, kPolicyKey, KEY_WOW64_64KEY);
        EXPECT_EQ(RunCheck(CheckWindowsAutoUpdate).summary, "Enabled (last applied 10 days ago)");
        policy.SetDword("NoAutoUpdate", 1);
        EXPECT_EQ(RunCheck(CheckWindowsAutoUpdate).summary, "Disabled (last applied 10 days ago)");
    }
    EXPECT_EQ(RunCheck(CheckWindowsAutoUpdate).details, kResultsKey);
}

TEST(LocalChecks, AnswersOfThisMachine)
{
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof(status);
    ASSERT_TRUE(GlobalMemoryStatusEx(&status));
    EXPECT_EQ(RunCheck(CheckMemory).summary, std::to_string(status.ullTotalPhys >> 20) + " M System Memory");
    EXPECT_TRUE(std::regex_match(RunCheck(CheckDiskSpace).summary,
                                 std::regex(R"(Drive "C:", \d+ total, \d+ M free \(\d+\.\d\d%\))")));
    const std::string screen = std::to_string(GetSystemMetrics(SM_CXSCREEN)) + " x " +
                               std::to_string(GetSystemMetrics(SM_CYSCREEN)) + R"(, \d+ bpp, \d+ HZ, 1 Display\(s\))";
    const TestResult resolution = RunCheck(CheckScreenResolution);
    EXPECT_TRUE(std::regex_match(resolution.summary, std::regex(screen))) << resolution.summary;
    EXPECT_EQ(resolution.details, "Minimum resolution: 1024 x 768, 15 bpp.\n");
    EXPECT_EQ(RunCheck(CheckHostEnvironment).summary, "64-bit architecture is good.");
    ScratchKey vbox(HKEY_LOCAL_MACHINE, "HARDWARE\\ACPI\\DSDT\\VBOX__", 0, REG_OPTION_VOLATILE);
    EXPECT_EQ(RunCheck(CheckHostEnvironment).summary, "Oracle VirtualBox");
}

TEST(DefaultWebBrowserOnWine, AssociationProbePageAndVersions)
{
    const std::string page = TempPath("blank.html");  // where the check makes its probe page
    // FindExecutableA reads HKEY_CLASSES_ROOT; this prefix has no ".html" class of its own.
    ScratchKey extension(HKEY_CLASSES_ROOT, ".html", 0);
    extension.Remove("");
    EXPECT_EQ(RunCheck(CheckDefaultWebBrowser).summary, "");
    EXPECT_EQ(GetFileAttributesA(page.c_str()), INVALID_FILE_ATTRIBUTES);

    // Wine's own class, opened by winebrowser.exe; the user's blank.html is kept.
    extension.SetText("", "htmlfile");
    std::ofstream(page, std::ios::binary) << "<p>mine</p>";
    EXPECT_EQ(RunCheck(CheckDefaultWebBrowser).summary, "winebrowser");
    EXPECT_EQ(ReadWholeFile(page), "<p>mine</p>");
    DeleteFileA(page.c_str());

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
    EXPECT_EQ(GetFileAttributesA(page.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(LocalAdminOnWine, ProcessTokenThenThreadTokens)
{
    char name[257] = {};
    DWORD nameSize = sizeof(name);
    ASSERT_TRUE(GetUserNameA(name, &nameSize));
    TestResult result = RunCheck(CheckLocalAdmin);  // this Wine's user is an administrator
    EXPECT_EQ(result.status, 'I');
    EXPECT_EQ(result.summary, std::string("User '") + name + "' is local admin");
    EXPECT_EQ(result.details,
              "Administrative rights are required to install the software, but not required to run the software.");

    // The same user with the Administrators group kept only for denial, on this thread.
    ScopedHandle process, filtered, impersonation;
    BYTE administrators[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof(administrators);
    ASSERT_TRUE(CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &sidSize));
    SID_AND_ATTRIBUTES denyOnly = {administrators, 0};
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, process.Receive()));
    ASSERT_TRUE(CreateRestrictedToken(process.Get(), 0, 1, &denyOnly, 0, nullptr, 0, nullptr, filtered.Receive()));
    ASSERT_TRUE(DuplicateToken(filtered.Get(), SecurityImpersonation, impersonation.Receive()));
    ASSERT_TRUE(SetThreadToken(nullptr, impersonation.Get()));
    result = RunCheck(CheckLocalAdmin);
    RevertToSelf();
    EXPECT_EQ(result.summary, std::string("User '") + name + "' is not a local admin");
}

// This Wine's DNS-domain record carries a domain identifier, and its
// workstation record names the host as computer and group.
TEST(DomainMembershipOnWine, PolicyAndWorkstationQueries)
{
    char computer[256] = {};
    DWORD size = sizeof(computer);
    ASSERT_TRUE(GetComputerNameA(computer, &size));
    const TestResult result = RunCheck(CheckDomainMembership);
    EXPECT_EQ(result.summary, "Domain Member: " + std::string(computer) + "\\" + computer);
    EXPECT_EQ(result.details, "Domain membership is optional.  This test is informational only.");
}

// Devices of the USB class written into the device registry (HKLM\System is
// one key in both views): the friendly name, else the description, else none.
TEST(UsbDevicesOnWine, NamesFallBackAndControllersAreListed)
{
    EXPECT_EQ(RunCheck(CheckUsb20).summary, "USB NOT detected (any version)");  // none in this Wine
    const std::string longName = std::string(1500, 'L') + " Enhanced Host Controller";  // beyond the first read
    const std::pair<const char*, const char*> devices[] = {
        {"Standard Enhanced PCI to USB Host Controller", "friendly comes first"},
        {"USB Root Hub", nullptr}, {nullptr, "Generic USB2 Hub"}, {nullptr, nullptr}, {longName.c_str(), nullptr},
    };
    std::list<ScratchKey> keys;
    for (const auto& [friendly, description] : devices) {
        keys.emplace_back(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Enum\\USB\\VID_F0CA&PID_000" +
                                                  std::to_string(keys.size()) + "\\KAVLO0001", KEY_WOW64_64KEY);
        keys.back().SetText("ClassGUID", "{36FC9E60-C465-11CF-8056-444553540000}");
        if (friendly)
            keys.back().SetText("FriendlyName", friendly);
        if (description)
            keys.back().SetText("DeviceDesc", description);
    }
    std::vector<std::string> names;
    ListUsbDeviceNames(names);
    const TestResult result = RunCheck(CheckUsb20);
    EXPECT_EQ(result.summary, "USB 2.0 detected");
    std::string details = "Detected the following USB 2.0 Ports:\n";
    for (const std::string& name : names)
        details += name != "USB Root Hub" && name != "<UNKNOWN>" ? "  " + name + "\n" : "";
    EXPECT_EQ(result.details, details);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"<UNKNOWN>", "Generic USB2 Hub", longName,
                                               "Standard Enhanced PCI to USB Host Controller", "USB Root Hub"}));
}
