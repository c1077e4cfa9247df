// The checks on this system: the tests write the registry values a check reads,
// in the view it reads them (kavlo, a 32-bit program under WOW64, reads HKLM in
// the native view; HKCU, HKCR, HARDWARE and System have one), run the real
// check and read the record.
#include "checks/check_functions.h"
#include "registry_scratch.h"

#include <gtest/gtest.h>

#include <ctime>

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

// The automatic-update keys the test's prefix came with go: every case starts from a known system.
void RemoveUpdateKeys()
{
    for (const char* path : {kPolicyKey, kSettingKey})
        DeleteKeyTree(HKEY_LOCAL_MACHINE, path, KEY_WOW64_64KEY);
}

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
    ScratchKey vbox(HKEY_LOCAL_MACHINE, "HARDWARE\\ACPI\\DSDT\\VBOX__", 0, REG_OPTION_VOLATILE);
    ScratchKey results(HKEY_LOCAL_MACHINE, kResultsKey, KEY_WOW64_64KEY);
    ScratchKey setting(HKEY_LOCAL_MACHINE, kSettingKey, KEY_WOW64_64KEY);  // made with the results key
    const char* const ieKey = "SOFTWARE\\Microsoft\\Internet Explorer";
    ScratchKey ie(HKEY_LOCAL_MACHINE, ieKey, KEY_WOW64_64KEY), redirectedIe(HKEY_LOCAL_MACHINE, ieKey, KEY_WOW64_32KEY);
    redirectedIe.Set("svcVersion", REG_SZ, std::string("11.0.9600.1", 12));  // must not mislead a 32-bit program
    for (const char* name : {"ScreenSaveTimeOut", "ScreenSaveActive", "ScreenSaverIsSecure"})
        desktop.Remove(name);
    const std::string win7 = "Windows 7, SP1.0 (64-bit)", vendor = "Unknown Vendor, ", scr = "'scrnsave', ";
    const std::string when = UtcTimeText(-3 * 86400 - 3600), filling = when + std::string(128 - when.size(), 'x');
    const auto OS = CheckOperatingSystem, CPU = CheckCpu, SAVER = CheckSecureScreenSaver, AU = CheckWindowsAutoUpdate,
               IE = CheckIeVersion, VM = CheckHostEnvironment;
    const struct { CheckFunction check; ScratchKey& key; const char* name; DWORD type;
                   std::string data, summary, details = ""; } rows[] = {  // details only where given
        {IE, ie, "svcVersion", REG_SZ, std::string("11.0.9600.17843", 16), "11.0.9600.17843"},
        {IE, ie, "svcVersion", REG_DWORD, DwordBytes(11), "11"},
        {IE, ie, "svcVersion", REG_EXPAND_SZ, std::string("11.0", 5), "Unable to determine",
         "Internet Explorer Registry value is missing."},
        // The install date is a REG_DWORD of four bytes, or no date.
        {OS, os, "InstallDate", REG_SZ, std::string("1400000000", 11), win7},
        {OS, os, "InstallDate", REG_DWORD, "", win7},
        // 256 characters without a terminator fill the whole buffer: 255 are read, terminated; a
        // name too long for the buffer reads as missing.
        {CPU, cpu, "ProcessorNameString", REG_SZ, std::string(256, 'n'), std::string(255, 'n') + n},
        {CPU, cpu, "~MHz", REG_DWORD, DwordBytes(2394), std::string(255, 'n') + n,
         "Minimum CPU speed is 1.00 GHz.  Recommended CPU speed is 2.00 GHz.Actual Speed: 2.39 GHz."},
        {CPU, cpu, "ProcessorNameString", REG_SZ, std::string(5000, 'z'), vendor + "2.39 GHz" + n},
        {CPU, cpu, "~MHz", REG_SZ, std::string("2394", 5), vendor + "Unknown Speed" + n},
        {SAVER, desktop, "SCRNSAVE.EXE", REG_SZ, std::string("C:\\Windows\\system32\\scrnsave.scr", 33),
         scr + "0 minutes, active:N, secure:N"},
        {SAVER, desktop, "ScreenSaveTimeOut", REG_DWORD, DwordBytes(1200), scr + "20 minutes, active:N, secure:N"},
        {SAVER, desktop, "ScreenSaveActive", REG_SZ, std::string("1", 2), scr + "20 minutes, active:Y, secure:N"},
        {SAVER, desktop, "ScreenSaverIsSecure", REG_DWORD, DwordBytes(1), scr + "20 minutes, active:Y, secure:Y"},
        // LastSuccessTime is read into 128 bytes, which 128 characters without a terminator fill.
        {AU, results, "LastSuccessTime", REG_SZ, filling, "Enabled (last applied 3 days ago)",
         "Microsoft Windows Updates are enabled and were installed 3 days ago (" + filling.substr(0, 127) + ")"},
        // The switches are 4-byte numbers whatever their type: "0" as text is the byte 0x30.
        {AU, setting, "NoAutoUpdate", REG_SZ, std::string("0", 2), "Disabled (last applied 3 days ago)"},
        {AU, results, "LastSuccessTime", REG_SZ, when + std::string(300, 'x'), "Unable to read required registry key"},
        // VirtualBox by its ACPI key (the machine's other answers are the whole-program run's).
        {VM, vbox, "", REG_SZ, "", "Oracle VirtualBox"},
    };
    for (const auto& row : rows) {
        row.key.Set(row.name, row.type, row.data);
        const TestResult result = RunCheck(row.check);
        EXPECT_EQ(result.summary, row.summary) << row.name << " " << row.type << " " << row.data.size();
        EXPECT_EQ(row.details.empty() ? "" : result.details, row.details) << row.name;
    }
}

TEST(LocalChecks, AutoUpdatePolicyKeyBeforeSettingKey)
{
    RemoveUpdateKeys();
    EXPECT_EQ(RunCheck(CheckWindowsAutoUpdate).details, kResultsKey);
    ScratchKey results(HKEY_LOCAL_MACHINE, kResultsKey, KEY_WOW64_64KEY);
    ScratchKey setting(HKEY_LOCAL_MACHINE, kSettingKey, KEY_WOW64_64KEY);
    results.Set("LastSuccessTime", REG_SZ, UtcTimeText(-10 * 86400) + '\0');
    setting.Set("AUOptions", REG_DWORD, DwordBytes(1));
    EXPECT_EQ(RunCheck(CheckWindowsAutoUpdate).summary, "Disabled (last applied 10 days ago)");
    // A policy key, even one without values, takes the setting's place.
    ScratchKey policy(HKEY_LOCAL_MACHINE, kPolicyKey, KEY_WOW64_64KEY);
    EXPECT_EQ(RunCheck(CheckWindowsAutoUpdate).summary, "Enabled (last applied 10 days ago)");
    policy.Set("NoAutoUpdate", REG_DWORD, DwordBytes(1));
    EXPECT_EQ(RunCheck(CheckWindowsAutoUpdate).summary, "Disabled (last applied 10 days ago)");
}

// The administrator of this Wine, and the same user with the Administrators group kept only for
// denial, on this thread.
TEST(LocalAdminOnWine, ProcessTokenThenThreadTokens)
{
    char name[257] = {};
    DWORD nameSize = sizeof(name);
    ASSERT_TRUE(GetUserNameA(name, &nameSize));
    EXPECT_EQ(RunCheck(CheckLocalAdmin).summary, std::string("User '") + name + "' is local admin");
    ScopedHandle process, filtered, impersonation;
    BYTE administrators[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof(administrators);
    ASSERT_TRUE(CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &sidSize));
    SID_AND_ATTRIBUTES denyOnly = {administrators, 0};
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, process.Receive()));
    ASSERT_TRUE(CreateRestrictedToken(process.Get(), 0, 1, &denyOnly, 0, nullptr, 0, nullptr, filtered.Receive()));
    ASSERT_TRUE(DuplicateToken(filtered.Get(), SecurityImpersonation, impersonation.Receive()));
    ASSERT_TRUE(SetThreadToken(nullptr, impersonation.Get()));
    const TestResult result = RunCheck(CheckLocalAdmin);
    RevertToSelf();
    EXPECT_EQ(result.summary, std::string("User '") + name + "' is not a local admin");
}

