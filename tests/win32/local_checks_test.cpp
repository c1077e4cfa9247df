// The local checks on this system: the tests set the registry values a check
// reads, in the view it reads them (kavlo is a 32-bit program under WOW64 and
// reads these HKLM keys through the native 64-bit view; HKCU and HARDWARE
// have one view), run the real Check function and read the record. Every
// value touched is put back, every key made is removed.
#include "checks/check_functions.h"
#include "registry_scratch.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>

namespace {

const char* const kPolicyKey = "SOFTWARE\\Policies\\Microsoft\\Windows\\WindowsUpdate\\AU";
const char* const kSettingKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\WindowsUpdate\\Auto Update";
const char* const kResultsKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\WindowsUpdate\\Auto Update\\Results\\Install";

TestResult RunCheck(CheckFunction check)
{
    TestResult result;
    check(result);
    return result;
}

bool KeyExists(const char* path)
{
    ScopedRegKey key;
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ | KEY_WOW64_64KEY, key.Receive()) == ERROR_SUCCESS;
}

// The test's prefix is a copy of its own: whatever automatic-update keys it
// came with go, so that every case starts from the same, known system.
void RemoveUpdateKeys()
{
    for (const char* path : {kPolicyKey, kSettingKey}) {
        DeleteKeyTree(HKEY_LOCAL_MACHINE, path, KEY_WOW64_64KEY);
        ASSERT_FALSE(KeyExists(path)) << path;
    }
}

// "YYYY-MM-DD hh:mm:ss" of the current UTC time moved by `seconds`.
std::string UtcTimeText(int64_t seconds)
{
    ULARGE_INTEGER units = {};
    GetSystemTimeAsFileTime(reinterpret_cast<FILETIME*>(&units));
    units.QuadPart += static_cast<uint64_t>(seconds * 10000000);
    SYSTEMTIME t = {};
    FileTimeToSystemTime(reinterpret_cast<FILETIME*>(&units), &t);
    char text[32];
    std::snprintf(text, sizeof(text), "%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                  t.wSecond);
    return text;
}

} // namespace

// Each row writes one value and runs the check. The values of the right
// shape give the facts; those of a wrong type, empty, or too long for the
// check's buffer read as missing, and never as more than was stored.
TEST(LocalChecks, RegistryValuesOfEveryShape)
{
    ASSERT_NO_FATAL_FAILURE(RemoveUpdateKeys());
    SYSTEM_INFO info = {};
    GetSystemInfo(&info);
    const std::string n = info.dwNumberOfProcessors > 1 ? "(x" + std::to_string(info.dwNumberOfProcessors) + ")" : "";
    ScratchKey os(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", KEY_WOW64_64KEY);
    ScratchKey cpu(HKEY_LOCAL_MACHINE, "Hardware\\Description\\System\\CentralProcessor\\0", KEY_WOW64_64KEY,
                   REG_OPTION_VOLATILE);
    ScratchKey desktop(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0);
    ScratchKey results(HKEY_LOCAL_MACHINE, kResultsKey, KEY_WOW64_64KEY);
    ScratchKey setting(HKEY_LOCAL_MACHINE, kSettingKey, KEY_WOW64_64KEY);  // made with the results key
    for (const char* name : {"ScreenSaveTimeOut", "ScreenSaveActive", "ScreenSaverIsSecure"})
        desktop.Remove(name);
    const std::string win7 = "Windows 7, SP1.0 (64-bit)", vendor = "Unknown Vendor, ";
    const std::string scr = "'scrnsave', ", sevens = "'" + std::string(255, '7') + "', ";
    const std::string advice = "We HIGHLY SUGGEST that your computer to be configured with a 'secure' screen saver "
                               "that requires a password to unlock and automatically locks the screen after 15 "
                               "minutes (or less) of inactivity.\n";
    const std::string when = UtcTimeText(-3 * 86400 - 3600), filling = when + std::string(128 - when.size(), 'x');
    const std::string on = "Enabled (last applied 3 days ago)", unread = "Unable to read required registry key";
    const auto OS = CheckOperatingSystem, CPU = CheckCpu, SAVER = CheckSecureScreenSaver, AU = CheckWindowsAutoUpdate;
    const struct {
        CheckFunction check;
        ScratchKey& key;
        const char* name;
        DWORD type;
        std::string data, summary, details = "";  // details only where given
    } rows[] = {
        {OS, os, "InstallDate", REG_DWORD, DwordBytes(1400000000), win7 + " (2014-05-13)",
         "Windows 7/8/10 (32-bit or 64-bit) is supported.\n"},
        {OS, os, "InstallDate", REG_SZ, std::string("1400000000", 11), win7},
        {OS, os, "InstallDate", REG_DWORD, "", win7},
        {OS, os, "InstallDate", REG_DWORD, std::string(4096, '\x01'), win7},
        {CPU, cpu, "ProcessorNameString", REG_SZ, std::string("   Acme   Quad  Core  ", 23), "Acme Quad Core " + n},
        {CPU, cpu, "~MHz", REG_DWORD, DwordBytes(2394), "Acme Quad Core " + n,
         "Minimum CPU speed is 1.00 GHz.  Recommended CPU speed is 2.00 GHz.Actual Speed: 2.39 GHz."},
        // 256 characters without a terminator fill the whole buffer: 255 are read, terminated.
        {CPU, cpu, "ProcessorNameString", REG_SZ, std::string(256, 'n'), std::string(255, 'n') + n},
        {CPU, cpu, "ProcessorNameString", REG_SZ, std::string(5000, 'z'), vendor + "2.39 GHz" + n},
        {CPU, cpu, "ProcessorNameString", REG_DWORD, "ABCD", vendor + "2.39 GHz" + n},
        {CPU, cpu, "ProcessorNameString", REG_SZ, "", vendor + "2.39 GHz" + n},
        {CPU, cpu, "~MHz", REG_SZ, std::string("2394", 5), vendor + "Unknown Speed" + n},
        // Screen-saver values as text and as numbers; other types and short numbers count as missing.
        {SAVER, desktop, "SCRNSAVE.EXE", REG_SZ, std::string("C:\\Windows\\system32\\scrnsave.scr", 33),
         scr + "0 minutes, active:N, secure:N"},
        {SAVER, desktop, "ScreenSaveTimeOut", REG_SZ, std::string("600", 4), scr + "10 minutes, active:N, secure:N"},
        {SAVER, desktop, "ScreenSaveActive", REG_SZ, std::string("1", 2), scr + "10 minutes, active:Y, secure:N"},
        {SAVER, desktop, "ScreenSaverIsSecure", REG_SZ, std::string("1", 2), scr + "10 minutes, active:Y, secure:Y",
         advice},
        {SAVER, desktop, "ScreenSaveTimeOut", REG_DWORD, DwordBytes(1200), scr + "20 minutes, active:Y, secure:Y"},
        {SAVER, desktop, "ScreenSaverIsSecure", REG_DWORD, DwordBytes(0), scr + "20 minutes, active:Y, secure:N",
         advice + " ** Your screen saver is not 'secure' (does not require password to restore screen). **\n"
                  " ** Time limit, 20, exceeds 15 minutes. **\n"},
        {SAVER, desktop, "ScreenSaveActive", REG_EXPAND_SZ, "1", scr + "20 minutes, active:N, secure:N"},
        {SAVER, desktop, "ScreenSaveTimeOut", REG_DWORD, "\x01", scr + "0 minutes, active:N, secure:N"},
        {SAVER, desktop, "SCRNSAVE.EXE", REG_SZ, "", "'', 0 minutes, active:N, secure:N"},
        {SAVER, desktop, "SCRNSAVE.EXE", REG_SZ, std::string(100000, '7'), sevens + "0 minutes, active:N, secure:N"},
        {SAVER, desktop, "ScreenSaveTimeOut", REG_SZ, std::string(100000, '7'), sevens + "35791394 minutes, active:N, secure:N"},
        // LastSuccessTime is read into 128 bytes, which 128 characters without a terminator fill.
        {AU, results, "LastSuccessTime", REG_SZ, filling, on,
         "Microsoft Windows Updates are enabled and were installed 3 days ago (" + filling.substr(0, 127) + ")"},
        // The switches are 4-byte numbers whatever their type: "0" as text is the byte 0x30.
        {AU, setting, "NoAutoUpdate", REG_SZ, std::string("0", 2), "Disabled (last applied 3 days ago)"},
        {AU, setting, "NoAutoUpdate", REG_BINARY, std::string(70000, '\x01'), on},
        {AU, results, "LastSuccessTime", REG_SZ, "", "Unable to parse 'LastSuccessTime'"},
        {AU, results, "LastSuccessTime", REG_DWORD, DwordBytes(1), unread},
        {AU, results, "LastSuccessTime", REG_SZ, when + std::string(300, 'x'), unread},
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
    ASSERT_NO_FATAL_FAILURE(RemoveUpdateKeys());
    {
        const std::string tenDaysAgo = UtcTimeText(-10 * 86400);
        ScratchKey results(HKEY_LOCAL_MACHINE, kResultsKey, KEY_WOW64_64KEY);
        ScratchKey setting(HKEY_LOCAL_MACHINE, kSettingKey, KEY_WOW64_64KEY);
        results.SetText("LastSuccessTime", tenDaysAgo);
        setting.SetDword("AUOptions", 1);
        const TestResult result = RunCheck(CheckWindowsAutoUpdate);
        EXPECT_EQ(result.summary, "Disabled (last applied 10 days ago)");
        EXPECT_EQ(result.details, "Microsoft Windows Automatic Updates are DISABLED and were installed 10 days ago (" +
                                      tenDaysAgo + ")");
        // A policy key, even one without values, takes the setting's place.
        ScratchKey policy(HKEY_LOCAL_MACHINE, kPolicyKey, KEY_WOW64_64KEY);
        EXPECT_EQ(RunCheck(CheckWindowsAutoUpdate).summary, "Enabled (last applied 10 days ago)");
        policy.SetDword("NoAutoUpdate", 1);
        EXPECT_EQ(RunCheck(CheckWindowsAutoUpdate).summary, "Disabled (last applied 10 days ago)");
    }
    EXPECT_FALSE(KeyExists(kPolicyKey) || KeyExists(kSettingKey));
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
    const TestResult screen = RunCheck(CheckScreenResolution);
    EXPECT_TRUE(std::regex_match(screen.summary, std::regex(std::to_string(GetSystemMetrics(SM_CXSCREEN)) + " x " +
                                                            std::to_string(GetSystemMetrics(SM_CYSCREEN)) +
                                                            R"(, \d+ bpp, \d+ HZ, 1 Display\(s\))")));
    EXPECT_EQ(screen.details, "Minimum resolution: 1024 x 768, 15 bpp.\n");
    EXPECT_EQ(RunCheck(CheckHostEnvironment).summary, "64-bit architecture is good.");
    {
        ScratchKey vbox(HKEY_LOCAL_MACHINE, "HARDWARE\\ACPI\\DSDT\\VBOX__", 0, REG_OPTION_VOLATILE);
        ASSERT_TRUE(vbox.Created());
        EXPECT_EQ(RunCheck(CheckHostEnvironment).summary, "Oracle VirtualBox");
    }
    EXPECT_FALSE(KeyExists("HARDWARE\\ACPI"));
}
