// The local checks on this system: each test sets the registry values a
// check reads, in the view the check reads (kavlo is a 32-bit program under
// WOW64 and reads these HKLM keys through the native 64-bit view; HKCU and
// HARDWARE have one view), runs the real Check function and reads the
// record. Every value touched is put back, every key made is removed.
#include "checks/check_functions.h"
#include "registry_scratch.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>

namespace {

constexpr REGSAM kNative = KEY_WOW64_64KEY;
const char* const kProcessorKey = "Hardware\\Description\\System\\CentralProcessor\\0";
const char* const kPolicyKey = "SOFTWARE\\Policies\\Microsoft\\Windows\\WindowsUpdate\\AU";
const char* const kSettingKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\WindowsUpdate\\Auto Update";
const char* const kResultsKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\WindowsUpdate\\Auto Update\\Results\\Install";

TestResult RunCheck(CheckFunction check)
{
    TestResult result;
    check(result);
    EXPECT_TRUE(result.status == 'A' || result.status == 'F' || result.status == 'I');
    return result;
}

bool KeyExists(const char* path, REGSAM view)
{
    ScopedRegKey key;
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ | view, key.Receive()) == ERROR_SUCCESS;
}

std::string Dword(DWORD value)
{
    return std::string(reinterpret_cast<const char*>(&value), 4);
}

std::string ProcessorCountSuffix()
{
    SYSTEM_INFO info = {};
    GetSystemInfo(&info);
    return info.dwNumberOfProcessors > 1 ? "(x" + std::to_string(info.dwNumberOfProcessors) + ")" : "";
}

// "YYYY-MM-DD hh:mm:ss" of the current UTC time moved by `seconds`.
std::string UtcTimeText(int64_t seconds)
{
    SYSTEMTIME time = {};
    GetSystemTime(&time);
    ULARGE_INTEGER units = {};
    SystemTimeToFileTime(&time, reinterpret_cast<FILETIME*>(&units));
    units.QuadPart += static_cast<uint64_t>(seconds * 10000000);
    FileTimeToSystemTime(reinterpret_cast<FILETIME*>(&units), &time);
    char text[32];
    std::snprintf(text, sizeof(text), "%04u-%02u-%02u %02u:%02u:%02u", time.wYear, time.wMonth, time.wDay, time.wHour,
                  time.wMinute, time.wSecond);
    return text;
}

} // namespace

TEST(OperatingSystemCheck, InstallDateOfEveryShape)
{
    ScratchKey key(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", kNative);
    const std::tuple<DWORD, std::string, const char*> cases[] = {
        {REG_DWORD, Dword(1400000000), " (2014-05-13)"}, {REG_DWORD, Dword(0), " (1970-01-01)"},
        {REG_SZ, std::string("1400000000", 11), ""},      {REG_DWORD, std::string("\x01\x02", 2), ""},
        {REG_DWORD, std::string(), ""},                   {REG_DWORD, std::string(4096, '\x01'), ""},
        {REG_QWORD, Dword(1400000000) + Dword(0), ""},    {REG_BINARY, Dword(1400000000), ""},
    };
    for (const auto& [type, data, date] : cases) {
        key.Set("InstallDate", type, data);
        const TestResult result = RunCheck(CheckOperatingSystem);
        EXPECT_EQ(result.summary, std::string("Windows 7, SP1.0 (64-bit)") + date) << type << " " << data.size();
        EXPECT_EQ(result.status, 'A');
        EXPECT_EQ(result.details, "Windows 7/8/10 (32-bit or 64-bit) is supported.\n");
    }
    key.Remove("InstallDate");
    EXPECT_EQ(RunCheck(CheckOperatingSystem).summary, "Windows 7, SP1.0 (64-bit)");
}

TEST(DiskSpaceAndMemoryCheck, ThisMachine)
{
    TestResult result = RunCheck(CheckDiskSpace);
    EXPECT_EQ(result.details, "Requires 1024 MB free disk space.\n");
    EXPECT_TRUE(std::regex_match(result.summary, std::regex(R"(Drive "C:", \d+ total, \d+ M free \(\d+\.\d\d%\))")))
        << result.summary;

    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof(status);
    ASSERT_TRUE(GlobalMemoryStatusEx(&status));
    const unsigned long megabytes = static_cast<unsigned long>(status.ullTotalPhys >> 20);
    result = RunCheck(CheckMemory);
    EXPECT_EQ(result.summary, std::to_string(megabytes) + " M System Memory");
    EXPECT_EQ(result.status, megabytes >= 4064 ? 'A' : 'F');
}

TEST(CpuCheck, ValuesOfEveryShape)
{
    ScratchKey key(HKEY_LOCAL_MACHINE, kProcessorKey, kNative, REG_OPTION_VOLATILE);
    const std::string recommendation = "Minimum CPU speed is 1.00 GHz.  Recommended CPU speed is 2.00 GHz.";
    struct Case {
        DWORD nameType;
        std::string name;
        DWORD clockType;
        std::string clock;
        std::string summary;
        const char* speed;
    } cases[] = {
        {REG_SZ, std::string("   Acme   Quad  Core  ", 23), REG_DWORD, Dword(2394), "Acme Quad Core ",
         "Actual Speed: 2.39 GHz."},
        // 256 characters without a terminator fill the whole buffer.
        {REG_SZ, std::string(256, 'n'), REG_DWORD, Dword(1000), std::string(255, 'n'), "Actual Speed: 1.00 GHz."},
        {REG_SZ, std::string(255, 'm') + '\0', REG_DWORD, Dword(1000), std::string(255, 'm'),
         "Actual Speed: 1.00 GHz."},
        {REG_SZ, std::string(5000, 'z'), REG_BINARY, std::string("\x01", 1), "Unknown Vendor, 1.00 MHz", ""},
        {REG_DWORD, std::string("ABCD"), REG_DWORD, Dword(100), "Unknown Vendor, 100.00 MHz", ""},
        {REG_SZ, std::string(), REG_DWORD, std::string(), "Unknown Vendor, Unknown Speed", ""},
        {REG_SZ, std::string(255, ' '), REG_DWORD, Dword(2394), "Unknown Vendor, 2.39 GHz", ""},
        {REG_SZ, std::string("Acme", 5), REG_SZ, std::string("2394", 5), "Acme", "Actual Speed: 0Hz."},
        {REG_SZ, std::string("Acme", 5), REG_BINARY, std::string(9000, '\x01'), "Acme", "Actual Speed: 0Hz."},
    };
    for (const Case& c : cases) {
        key.Set("ProcessorNameString", c.nameType, c.name);
        key.Set("~MHz", c.clockType, c.clock);
        const TestResult result = RunCheck(CheckCpu);
        EXPECT_EQ(result.status, 'I');
        EXPECT_EQ(result.summary, c.summary + ProcessorCountSuffix());
        EXPECT_EQ(result.details, recommendation + c.speed) << c.summary;
    }
    key.Remove("ProcessorNameString");
    EXPECT_EQ(RunCheck(CheckCpu).summary, "Unknown Vendor, Unknown Speed" + ProcessorCountSuffix());
}

TEST(ScreenResolutionCheck, PrimaryDisplay)
{
    const TestResult result = RunCheck(CheckScreenResolution);
    EXPECT_EQ(result.status, 'I');
    EXPECT_EQ(result.details, "Minimum resolution: 1024 x 768, 15 bpp.\n");
    const std::string expected = std::to_string(GetSystemMetrics(SM_CXSCREEN)) + " x " +
                                 std::to_string(GetSystemMetrics(SM_CYSCREEN)) + ", ";
    EXPECT_EQ(result.summary.rfind(expected, 0), 0u) << result.summary;
    EXPECT_TRUE(std::regex_search(result.summary, std::regex(R"(, \d+ bpp, \d+ HZ, 1 Display\(s\)$)")));
}

TEST(HostEnvironmentCheck, WineAndTheVirtualBoxKey)
{
    const std::string general =
        "The USB check scanning hardware does NOT work inside some virtual machines, over a remote desktop "
        "connection or on all 64-bit processors.  This test checks for those environments.";
    TestResult result = RunCheck(CheckHostEnvironment);
    EXPECT_EQ(result.status, 'I');
    EXPECT_EQ(result.summary, "64-bit architecture is good.");
    EXPECT_EQ(result.details, general);
    {
        ScratchKey key(HKEY_LOCAL_MACHINE, "HARDWARE\\ACPI\\DSDT\\VBOX__", 0, REG_OPTION_VOLATILE);
        ASSERT_TRUE(key.Created());
        result = RunCheck(CheckHostEnvironment);
        EXPECT_EQ(result.summary, "Oracle VirtualBox");
        EXPECT_EQ(result.details, "Partially tested virtualization platform.");
    }
    EXPECT_FALSE(KeyExists("HARDWARE\\ACPI", 0));
}

class AutoUpdateCheck : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The test owns these keys for its run; a system that has them is
        // not one to scribble on.
        for (const char* path : {kPolicyKey, kSettingKey, kResultsKey})
            if (KeyExists(path, kNative))
                GTEST_SKIP() << "this system has " << path;
    }
    void TearDown() override
    {
        for (const char* path : {kPolicyKey, kSettingKey, kResultsKey})
            EXPECT_FALSE(KeyExists(path, kNative)) << path;
    }
};

TEST_F(AutoUpdateCheck, PolicyKeyBeforeSettingKey)
{
    TestResult result = RunCheck(CheckWindowsAutoUpdate);
    EXPECT_EQ(result.summary, "Unable to read required registry key");
    EXPECT_EQ(result.details, kResultsKey);

    const std::string tenDaysAgo = UtcTimeText(-10 * 86400);
    ScratchKey results(HKEY_LOCAL_MACHINE, kResultsKey, kNative);
    results.SetText("LastSuccessTime", tenDaysAgo);
    result = RunCheck(CheckWindowsAutoUpdate);
    EXPECT_EQ(result.summary, "Enabled (last applied 10 days ago)");
    EXPECT_EQ(result.details, "Microsoft Windows Updates are enabled and were installed 10 days ago (" + tenDaysAgo + ")");

    ScratchKey setting(HKEY_LOCAL_MACHINE, kSettingKey, kNative);  // made with the results key
    setting.SetDword("AUOptions", 1);
    result = RunCheck(CheckWindowsAutoUpdate);
    EXPECT_EQ(result.summary, "Disabled (last applied 10 days ago)");
    EXPECT_EQ(result.details,
              "Microsoft Windows Automatic Updates are DISABLED and were installed 10 days ago (" + tenDaysAgo + ")");
    setting.SetDword("AUOptions", 4);
    EXPECT_EQ(RunCheck(CheckWindowsAutoUpdate).summary, "Enabled (last applied 10 days ago)");

    // A policy key, even one without values, takes the setting's place.
    setting.SetDword("NoAutoUpdate", 1);
    ScratchKey policy(HKEY_LOCAL_MACHINE, kPolicyKey, kNative);
    EXPECT_EQ(RunCheck(CheckWindowsAutoUpdate).summary, "Enabled (last applied 10 days ago)");
    const std::tuple<const char*, DWORD, std::string, const char*> switches[] = {
        {"NoAutoUpdate", REG_DWORD, Dword(1), "Disabled"},
        // 4-byte numbers whatever their type: "0" as text is the byte 0x30.
        {"NoAutoUpdate", REG_SZ, std::string("0", 2), "Disabled"},
        {"NoAutoUpdate", REG_BINARY, std::string("\x01", 1), "Disabled"},
        {"NoAutoUpdate", REG_DWORD, std::string(), "Enabled"},
        {"NoAutoUpdate", REG_QWORD, std::string(8, '\x01'), "Enabled"},
        {"NoAutoUpdate", REG_BINARY, std::string(70000, '\x01'), "Enabled"},
        {"AUOptions", REG_DWORD, Dword(1), "Disabled"},  // NoAutoUpdate, too long to read, counts as 0
    };
    for (const auto& [name, type, data, state] : switches) {
        policy.Set(name, type, data);
        EXPECT_EQ(RunCheck(CheckWindowsAutoUpdate).summary, std::string(state) + " (last applied 10 days ago)")
            << name << " " << type << " " << data.size();
    }
}

TEST_F(AutoUpdateCheck, LastSuccessTimeOfEveryShape)
{
    ScratchKey results(HKEY_LOCAL_MACHINE, kResultsKey, kNative);
    const std::string when = UtcTimeText(-3 * 86400 - 3600);
    const std::string filling = when + std::string(128 - when.size(), 'x');  // 128 bytes, no terminator
    const std::tuple<DWORD, std::string, std::string, std::string> cases[] = {
        {REG_SZ, UtcTimeText(3600) + '\0', "Enabled (last applied 0 days ago)", ""},
        {REG_SZ, filling, "Enabled (last applied 3 days ago)",
         "Microsoft Windows Updates are enabled and were installed 3 days ago (" + filling.substr(0, 127) + ")"},
        {REG_SZ, std::string("2015-12-01", 11), "Unable to parse 'LastSuccessTime'", "2015-12-01"},
        {REG_SZ, std::string("2015-02-30 10:00:00", 20), "Unable to parse 'LastSuccessTime'", "2015-02-30 10:00:00"},
        {REG_SZ, std::string(), "Unable to parse 'LastSuccessTime'", ""},
        {REG_DWORD, Dword(1), "Unable to read required registry key", kResultsKey},
        {REG_BINARY, when, "Unable to read required registry key", kResultsKey},
        {REG_SZ, when + std::string(300, 'x'), "Unable to read required registry key", kResultsKey},
    };
    for (const auto& [type, data, summary, details] : cases) {
        results.Set("LastSuccessTime", type, data);
        const TestResult result = RunCheck(CheckWindowsAutoUpdate);
        EXPECT_EQ(result.status, 'I');
        EXPECT_EQ(result.summary, summary) << type << " " << data;
        if (!details.empty()) {
            EXPECT_EQ(result.details, details);
        }
    }
}

TEST(SecureScreenSaverCheck, ValuesOfEveryShape)
{
    ScratchKey desktop(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0);
    const char* const names[] = {"ScreenSaveActive", "ScreenSaveTimeOut", "SCRNSAVE.EXE", "ScreenSaverIsSecure"};
    const std::string suggestion =
        "We HIGHLY SUGGEST that your computer to be configured with a 'secure' screen saver that requires a password "
        "to unlock and automatically locks the screen after 15 minutes (or less) of inactivity.\n";
    const std::string notConfigured = " ** Your screen saver is not configured. **\n";
    for (const char* name : names)
        desktop.Remove(name);
    TestResult result = RunCheck(CheckSecureScreenSaver);
    EXPECT_EQ(result.summary, "'<NONE>', 0 minutes, active:N, secure:N");
    EXPECT_EQ(result.details, suggestion + notConfigured);

    const std::string saver = std::string("C:\\Windows\\system32\\scrnsave.scr") + '\0';
    struct Case {
        DWORD type;
        std::string active, timeOut;
        DWORD programType;
        std::string program, secure;
        std::string summary, details;
    } cases[] = {
        {REG_SZ, "1", "600", REG_SZ, saver, "1", "'scrnsave', 10 minutes, active:Y, secure:Y", suggestion},
        {REG_DWORD, Dword(1), Dword(1200), REG_SZ, saver, Dword(0), "'scrnsave', 20 minutes, active:Y, secure:N",
         suggestion + " ** Your screen saver is not 'secure' (does not require password to restore screen). **\n"
                      " ** Time limit, 20, exceeds 15 minutes. **\n"},
        // Types other than text and number, and short numbers, count as missing.
        {REG_EXPAND_SZ, "1", "600", REG_EXPAND_SZ, saver, "1", "'<NONE>', 0 minutes, active:N, secure:N", suggestion + notConfigured},
        {REG_MULTI_SZ, "1", "600", REG_MULTI_SZ, saver, "1", "'<NONE>', 0 minutes, active:N, secure:N", suggestion + notConfigured},
        {REG_DWORD, "\x01", "\x01", REG_BINARY, saver, "\x01", "'<NONE>', 0 minutes, active:N, secure:N", suggestion + notConfigured},
        {REG_SZ, "", "", REG_SZ, "", "", "'', 0 minutes, active:N, secure:N", suggestion + notConfigured},
        {REG_SZ, std::string(100000, '7'), std::string(100000, '7'), REG_SZ, std::string(100000, '7'), "0",
         "'" + std::string(255, '7') + "', 35791394 minutes, active:Y, secure:N",
         suggestion + " ** Your screen saver is not 'secure' (does not require password to restore screen). **\n"
                      " ** Time limit, 35791394, exceeds 15 minutes. **\n"},
    };
    for (const Case& c : cases) {
        desktop.Set(names[0], c.type, c.active);
        desktop.Set(names[1], c.type, c.timeOut);
        desktop.Set(names[2], c.programType, c.program);
        desktop.Set(names[3], c.type, c.secure);
        result = RunCheck(CheckSecureScreenSaver);
        EXPECT_EQ(result.status, 'I');
        EXPECT_EQ(result.summary, c.summary);
        EXPECT_EQ(result.details, c.details) << c.summary;
    }
}

TEST(LocalChecks, WhatThisSystemReports)
{
    for (CheckFunction check : {CheckOperatingSystem, CheckDiskSpace, CheckMemory, CheckCpu, CheckScreenResolution,
                                CheckHostEnvironment, CheckWindowsAutoUpdate, CheckSecureScreenSaver}) {
        const TestResult result = RunCheck(check);
        EXPECT_FALSE(result.summary.empty());
        std::printf("%c | %s | %s\n", result.status, result.summary.c_str(), result.details.c_str());
    }
}
