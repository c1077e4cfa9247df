// The local checks on this system: each test sets the registry values a
// check reads (in the view the check reads: kavlo is a 32-bit program and
// reads HKLM through the native 64-bit view), runs the real Check function
// and reads the record. Every value is put back afterwards.
#include "checks/check_functions.h"
#include "platform/wow64_win32.h"
#include "registry_scratch.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>

namespace {

constexpr REGSAM kNative = KEY_WOW64_64KEY;
constexpr REGSAM kThirtyTwo = KEY_WOW64_32KEY;

const char* const kCurrentVersion = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
const char* const kProcessorKey = "Hardware\\Description\\System\\CentralProcessor\\0";
const char* const kPolicyKey = "SOFTWARE\\Policies\\Microsoft\\Windows\\WindowsUpdate\\AU";
const char* const kSettingKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\WindowsUpdate\\Auto Update";
const char* const kResultsKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\WindowsUpdate\\Auto Update\\Results\\Install";
const char* const kDesktopKey = "Control Panel\\Desktop";

TestResult RunCheck(CheckFunction check)
{
    TestResult result;
    check(result);
    return result;
}

bool KeyExists(HKEY root, const char* path, REGSAM view)
{
    ScopedRegKey key;
    return RegOpenKeyExA(root, path, 0, KEY_READ | view, key.Receive()) == ERROR_SUCCESS;
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
    SYSTEMTIME now = {};
    GetSystemTime(&now);
    FILETIME fileTime = {};
    SystemTimeToFileTime(&now, &fileTime);
    ULARGE_INTEGER units;
    units.LowPart = fileTime.dwLowDateTime;
    units.HighPart = fileTime.dwHighDateTime;
    units.QuadPart += static_cast<uint64_t>(seconds * 10000000);
    fileTime.dwLowDateTime = units.LowPart;
    fileTime.dwHighDateTime = units.HighPart;
    SYSTEMTIME then = {};
    FileTimeToSystemTime(&fileTime, &then);
    char text[32];
    std::snprintf(text, sizeof(text), "%04u-%02u-%02u %02u:%02u:%02u", then.wYear, then.wMonth, then.wDay, then.wHour,
                  then.wMinute, then.wSecond);
    return text;
}

bool IsLetter(char status)
{
    return status == 'A' || status == 'F' || status == 'I';
}

} // namespace

// ------------------------------------------------------------ Operating System

TEST(OperatingSystemCheck, InstallDateOfTheNativeView)
{
    ScratchKey key(HKEY_LOCAL_MACHINE, kCurrentVersion, kNative);
    key.SetDword("InstallDate", 1400000000);
    TestResult result = RunCheck(CheckOperatingSystem);
    EXPECT_EQ(result.status, 'A');
    EXPECT_EQ(result.summary, "Windows 7, SP1.0 (64-bit) (2014-05-13)");
    EXPECT_EQ(result.details, "Windows 7/8/10 (32-bit or 64-bit) is supported.\n");

    // Where the two views keep separate values, the 32-bit one is not read.
    ScratchKey thirtyTwo(HKEY_LOCAL_MACHINE, kCurrentVersion, kThirtyTwo);
    thirtyTwo.SetDword("InstallDate", 0);
    DWORD native = 0;
    DWORD size = sizeof(native);
    RegQueryValueExA(key.Get(), "InstallDate", nullptr, nullptr, reinterpret_cast<BYTE*>(&native), &size);
    if (native == 1400000000) {
        EXPECT_EQ(RunCheck(CheckOperatingSystem).summary, "Windows 7, SP1.0 (64-bit) (2014-05-13)");
    }
}

TEST(OperatingSystemCheck, InstallDateThatIsNoDate)
{
    ScratchKey key(HKEY_LOCAL_MACHINE, kCurrentVersion, kNative);
    const uint64_t quad = 1400000000;
    struct Case {
        const char* label;
        DWORD type;
        std::string data;
    } cases[] = {
        {"Text", REG_SZ, std::string("1400000000", 11)},
        {"ShortDword", REG_DWORD, std::string("\x01\x02", 2)},
        {"EmptyDword", REG_DWORD, std::string()},
        {"LongDword", REG_DWORD, std::string(4096, '\x01')},
        {"Qword", REG_QWORD, std::string(reinterpret_cast<const char*>(&quad), 8)},
        {"Binary", REG_BINARY, std::string("\x00\x00\x00\x00", 4)},
    };
    for (const Case& c : cases) {
        key.Set("InstallDate", c.type, c.data.data(), static_cast<DWORD>(c.data.size()));
        const TestResult result = RunCheck(CheckOperatingSystem);
        EXPECT_EQ(result.summary, "Windows 7, SP1.0 (64-bit)") << c.label;
        EXPECT_EQ(result.status, 'A') << c.label;
    }
    key.Remove("InstallDate");
    EXPECT_EQ(RunCheck(CheckOperatingSystem).summary, "Windows 7, SP1.0 (64-bit)");
}

// ------------------------------------------------------------ Disk Space, Memory

TEST(DiskSpaceCheck, ProgramFilesDrive)
{
    const TestResult result = RunCheck(CheckDiskSpace);
    EXPECT_EQ(result.details, "Requires 1024 MB free disk space.\n");
    // Wine's Program Files lives on C:, which is the build folder's file system.
    EXPECT_TRUE(std::regex_match(result.summary, std::regex(R"(Drive "C:", \d+ total, \d+ M free \(\d+\.\d\d%\))")))
        << result.summary;
    EXPECT_TRUE(result.status == 'A' || result.status == 'F');
}

TEST(MemoryCheck, TotalPhysicalMemory)
{
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof(status);
    ASSERT_TRUE(GlobalMemoryStatusEx(&status));
    const unsigned long megabytes = static_cast<unsigned long>(status.ullTotalPhys >> 20);
    const TestResult result = RunCheck(CheckMemory);
    EXPECT_EQ(result.summary, std::to_string(megabytes) + " M System Memory");
    EXPECT_EQ(result.status, megabytes >= 4064 ? 'A' : 'F');
    EXPECT_EQ(result.details, "Requires 4096M RAM, 32M allowed for shared video ram.");
}

// ------------------------------------------------------------ CPU

TEST(CpuCheck, PaddedNameAndClock)
{
    ScratchKey key(HKEY_LOCAL_MACHINE, kProcessorKey, kNative, REG_OPTION_VOLATILE);
    key.SetText("ProcessorNameString", "   Acme   Quad  Core  ");
    key.SetDword("~MHz", 2394);
    TestResult result = RunCheck(CheckCpu);
    EXPECT_EQ(result.status, 'I');
    EXPECT_EQ(result.summary, "Acme Quad Core " + ProcessorCountSuffix());
    EXPECT_EQ(result.details,
              "Minimum CPU speed is 1.00 GHz.  Recommended CPU speed is 2.00 GHz.Actual Speed: 2.39 GHz.");

    key.Remove("ProcessorNameString");
    result = RunCheck(CheckCpu);
    EXPECT_EQ(result.summary, "Unknown Vendor, 2.39 GHz" + ProcessorCountSuffix());
    EXPECT_EQ(result.details, "Minimum CPU speed is 1.00 GHz.  Recommended CPU speed is 2.00 GHz.");
}

TEST(CpuCheck, NameThatFillsItsBuffer)
{
    ScratchKey key(HKEY_LOCAL_MACHINE, kProcessorKey, kNative, REG_OPTION_VOLATILE);
    key.SetDword("~MHz", 1000);
    // 256 characters and no terminator: the whole 256-byte buffer.
    const std::string full(256, 'n');
    key.Set("ProcessorNameString", REG_SZ, full.data(), 256);
    EXPECT_EQ(RunCheck(CheckCpu).summary, std::string(255, 'n') + ProcessorCountSuffix());
    // 255 characters and the terminator fit as they are.
    key.SetText("ProcessorNameString", std::string(255, 'm'));
    EXPECT_EQ(RunCheck(CheckCpu).summary, std::string(255, 'm') + ProcessorCountSuffix());
}

// ------------------------------------------------------------ Screen, Host Environment

TEST(ScreenResolutionCheck, PrimaryDisplay)
{
    const TestResult result = RunCheck(CheckScreenResolution);
    EXPECT_EQ(result.status, 'I');
    EXPECT_EQ(result.details, "Minimum resolution: 1024 x 768, 15 bpp.\n");
    std::smatch match;
    ASSERT_TRUE(std::regex_match(result.summary, match,
                                 std::regex(R"((\d+) x (\d+), (\d+) bpp, (\d+) HZ, (\d+) Display\(s\))")))
        << result.summary;
    EXPECT_EQ(std::stoul(match[1]), static_cast<unsigned long>(GetSystemMetrics(SM_CXSCREEN)));
    EXPECT_EQ(std::stoul(match[2]), static_cast<unsigned long>(GetSystemMetrics(SM_CYSCREEN)));
    EXPECT_EQ(std::stoul(match[5]), static_cast<unsigned long>(GetSystemMetrics(SM_CMONITORS)));
}

TEST(HostEnvironmentCheck, WineIsA64BitMachine)
{
    const TestResult result = RunCheck(CheckHostEnvironment);
    EXPECT_EQ(result.status, 'I');
    EXPECT_EQ(result.summary, "64-bit architecture is good.");
    EXPECT_EQ(result.details,
              "The USB check scanning hardware does NOT work inside some virtual machines, over a remote desktop "
              "connection or on all 64-bit processors.  This test checks for those environments.");
}

TEST(HostEnvironmentCheck, VirtualBoxKey)
{
    ASSERT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "HARDWARE\\ACPI\\DSDT\\VBOX__", 0));
    {
        // HARDWARE holds only volatile keys.
        ScratchKey key(HKEY_LOCAL_MACHINE, "HARDWARE\\ACPI\\DSDT\\VBOX__", 0, REG_OPTION_VOLATILE);
        ASSERT_TRUE(key.Created());
        const TestResult result = RunCheck(CheckHostEnvironment);
        EXPECT_EQ(result.status, 'I');
        EXPECT_EQ(result.summary, "Oracle VirtualBox");
        EXPECT_EQ(result.details, "Partially tested virtualization platform.");
    }
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "HARDWARE\\ACPI", 0));
}

// ------------------------------------------------------------ Windows Auto Update

class AutoUpdateCheck : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The test owns these keys for its run; a system that has them is
        // not one to scribble on.
        for (const char* path : {kPolicyKey, kSettingKey, kResultsKey})
            if (KeyExists(HKEY_LOCAL_MACHINE, path, kNative))
                GTEST_SKIP() << "this system has " << path;
    }
    void TearDown() override
    {
        for (const char* path : {kPolicyKey, kSettingKey, kResultsKey})
            EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, path, kNative)) << path;
    }
};

TEST_F(AutoUpdateCheck, NoResultsKey)
{
    const TestResult result = RunCheck(CheckWindowsAutoUpdate);
    EXPECT_EQ(result.status, 'I');
    EXPECT_EQ(result.summary, "Unable to read required registry key");
    EXPECT_EQ(result.details, kResultsKey);
}

TEST_F(AutoUpdateCheck, PolicyKeyBeforeSettingKey)
{
    const std::string tenDaysAgo = UtcTimeText(-10 * 86400);
    const std::string enabled = "Enabled (last applied 10 days ago)";
    const std::string disabled = "Disabled (last applied 10 days ago)";
    ScratchKey results(HKEY_LOCAL_MACHINE, kResultsKey, kNative);
    results.SetText("LastSuccessTime", tenDaysAgo);

    TestResult result = RunCheck(CheckWindowsAutoUpdate);
    EXPECT_EQ(result.summary, enabled);
    EXPECT_EQ(result.details,
              "Microsoft Windows Updates are enabled and were installed 10 days ago (" + tenDaysAgo + ")");

    // The setting key exists now (the results key lies under it).
    ScratchKey setting(HKEY_LOCAL_MACHINE, kSettingKey, kNative);
    setting.SetDword("AUOptions", 1);
    EXPECT_EQ(RunCheck(CheckWindowsAutoUpdate).summary, disabled);
    setting.SetDword("AUOptions", 4);
    EXPECT_EQ(RunCheck(CheckWindowsAutoUpdate).summary, enabled);

    {
        // A policy that holds neither value leaves updates on: the setting
        // no longer counts.
        ScratchKey policy(HKEY_LOCAL_MACHINE, kPolicyKey, kNative);
        setting.SetDword("AUOptions", 1);
        setting.SetDword("NoAutoUpdate", 1);
        EXPECT_EQ(RunCheck(CheckWindowsAutoUpdate).summary, enabled);
        policy.SetDword("NoAutoUpdate", 1);
        result = RunCheck(CheckWindowsAutoUpdate);
        EXPECT_EQ(result.summary, disabled);
        EXPECT_EQ(result.details, "Microsoft Windows Automatic Updates are DISABLED and were installed 10 days ago (" +
                                      tenDaysAgo + ")");
        policy.SetDword("NoAutoUpdate", 0);
        policy.SetDword("AUOptions", 1);
        EXPECT_EQ(RunCheck(CheckWindowsAutoUpdate).summary, disabled);
    }
    // The policy is read through the native view only.
    {
        ScratchKey policy32(HKEY_LOCAL_MACHINE, kPolicyKey, kThirtyTwo);
        if (!KeyExists(HKEY_LOCAL_MACHINE, kPolicyKey, kNative)) {
            policy32.SetDword("NoAutoUpdate", 0);
            EXPECT_EQ(RunCheck(CheckWindowsAutoUpdate).summary, disabled);  // the setting's AUOptions 1
        }
    }
}

TEST_F(AutoUpdateCheck, LastSuccessTimeOfEveryShape)
{
    ScratchKey results(HKEY_LOCAL_MACHINE, kResultsKey, kNative);
    const std::string when = UtcTimeText(-3 * 86400 - 3600);
    struct Case {
        const char* label;
        DWORD type;
        std::string data;
        std::string summary;
        std::string details;
    } cases[] = {
        {"Future", REG_SZ, UtcTimeText(3600) + std::string(1, '\0'), "Enabled (last applied 0 days ago)", ""},
        {"DateAlone", REG_SZ, std::string("2015-12-01", 11), "Unable to parse 'LastSuccessTime'", "2015-12-01"},
        {"NoRealDate", REG_SZ, std::string("2015-02-30 10:00:00", 20), "Unable to parse 'LastSuccessTime'",
         "2015-02-30 10:00:00"},
        {"Empty", REG_SZ, std::string(), "Unable to parse 'LastSuccessTime'", ""},
        {"Dword", REG_DWORD, std::string(4, '\x01'), "Unable to read required registry key", kResultsKey},
        {"Binary", REG_BINARY, when, "Unable to read required registry key", kResultsKey},
        // 128 characters, no terminator: the whole 128-byte buffer, read as 127.
        {"FillsTheBuffer", REG_SZ, when + std::string(128 - when.size(), 'x'), "Enabled (last applied 3 days ago)",
         ""},
        {"LongerThanTheBuffer", REG_SZ, when + std::string(300, 'x'), "Unable to read required registry key",
         kResultsKey},
    };
    for (const Case& c : cases) {
        results.Set("LastSuccessTime", c.type, c.data.data(), static_cast<DWORD>(c.data.size()));
        const TestResult result = RunCheck(CheckWindowsAutoUpdate);
        EXPECT_EQ(result.status, 'I') << c.label;
        EXPECT_EQ(result.summary, c.summary) << c.label;
        if (!c.details.empty()) {
            EXPECT_EQ(result.details, c.details) << c.label;
        }
    }
    results.Set("LastSuccessTime", REG_SZ, (when + std::string(128 - when.size(), 'x')).data(), 128);
    EXPECT_EQ(RunCheck(CheckWindowsAutoUpdate).details,
              "Microsoft Windows Updates are enabled and were installed 3 days ago (" + when +
                  std::string(127 - when.size(), 'x') + ")");
}

TEST_F(AutoUpdateCheck, SwitchesOfEveryShape)
{
    ScratchKey results(HKEY_LOCAL_MACHINE, kResultsKey, kNative);
    results.SetText("LastSuccessTime", UtcTimeText(-86400 - 60));
    ScratchKey policy(HKEY_LOCAL_MACHINE, kPolicyKey, kNative);
    struct Case {
        const char* label;
        DWORD type;
        std::string data;
        const char* summary;
    } cases[] = {
        // The switches are 4-byte numbers whatever their type: "0" as text
        // is the byte 0x30, not zero.
        {"TextZero", REG_SZ, std::string("0", 2), "Disabled (last applied 1 days ago)"},
        {"Empty", REG_DWORD, std::string(), "Enabled (last applied 1 days ago)"},
        {"OneByte", REG_BINARY, std::string("\x01", 1), "Disabled (last applied 1 days ago)"},
        {"EightBytes", REG_QWORD, std::string(8, '\x01'), "Enabled (last applied 1 days ago)"},
        {"Long", REG_BINARY, std::string(70000, '\x01'), "Enabled (last applied 1 days ago)"},
    };
    for (const Case& c : cases) {
        policy.Set("NoAutoUpdate", c.type, c.data.data(), static_cast<DWORD>(c.data.size()));
        EXPECT_EQ(RunCheck(CheckWindowsAutoUpdate).summary, c.summary) << c.label;
    }
}

// ------------------------------------------------------------ Secure Screen Saver

TEST(SecureScreenSaverCheck, ValuesAsTextAndAsNumbers)
{
    ScratchKey desktop(HKEY_CURRENT_USER, kDesktopKey, 0);
    for (const char* name : {"ScreenSaveActive", "ScreenSaveTimeOut", "SCRNSAVE.EXE", "ScreenSaverIsSecure"})
        desktop.Remove(name);
    const std::string suggestion =
        "We HIGHLY SUGGEST that your computer to be configured with a 'secure' screen saver that requires a password "
        "to unlock and automatically locks the screen after 15 minutes (or less) of inactivity.\n";

    TestResult result = RunCheck(CheckSecureScreenSaver);
    EXPECT_EQ(result.status, 'I');
    EXPECT_EQ(result.summary, "'<NONE>', 0 minutes, active:N, secure:N");
    EXPECT_EQ(result.details, suggestion + " ** Your screen saver is not configured. **\n");

    desktop.SetText("ScreenSaveActive", "1");
    desktop.SetText("ScreenSaveTimeOut", "600");
    desktop.SetText("SCRNSAVE.EXE", "C:\\Windows\\system32\\scrnsave.scr");
    desktop.SetText("ScreenSaverIsSecure", "1");
    result = RunCheck(CheckSecureScreenSaver);
    EXPECT_EQ(result.summary, "'scrnsave', 10 minutes, active:Y, secure:Y");
    EXPECT_EQ(result.details, suggestion);

    desktop.SetDword("ScreenSaveActive", 1);
    desktop.SetDword("ScreenSaveTimeOut", 1200);
    desktop.SetDword("ScreenSaverIsSecure", 0);
    result = RunCheck(CheckSecureScreenSaver);
    EXPECT_EQ(result.summary, "'scrnsave', 20 minutes, active:Y, secure:N");
    EXPECT_EQ(result.details, suggestion +
                                  " ** Your screen saver is not 'secure' (does not require password to restore "
                                  "screen). **\n ** Time limit, 20, exceeds 15 minutes. **\n");
}

TEST(SecureScreenSaverCheck, ValuesOfEveryShape)
{
    ScratchKey desktop(HKEY_CURRENT_USER, kDesktopKey, 0);
    struct Case {
        const char* label;
        DWORD type;
        std::string data;
        const char* summaryStart;
    } cases[] = {
        // Types other than text and number count as missing.
        {"Expand", REG_EXPAND_SZ, std::string("%SystemRoot%\\a.scr", 19), "'<NONE>', 0 minutes, active:N"},
        {"Multi", REG_MULTI_SZ, std::string("1\0\0", 3), "'<NONE>', 0 minutes, active:N"},
        {"Binary", REG_BINARY, std::string(4, '\x01'), "'<NONE>', 0 minutes, active:N"},
        {"ShortDword", REG_DWORD, std::string(2, '\x01'), "'<NONE>', 0 minutes, active:N"},
        {"EmptyText", REG_SZ, std::string(), "'', 0 minutes, active:N"},
        {"TextWithoutTerminator", REG_SZ, std::string("C:\\x\\saver.scr"), "'saver', 0 minutes, active:N"},
        {"Long", REG_SZ, std::string(100000, '7'), "'77777777"},
    };
    for (const Case& c : cases) {
        for (const char* name : {"ScreenSaveActive", "ScreenSaveTimeOut", "SCRNSAVE.EXE", "ScreenSaverIsSecure"})
            desktop.Set(name, c.type, c.data.data(), static_cast<DWORD>(c.data.size()));
        const TestResult result = RunCheck(CheckSecureScreenSaver);
        EXPECT_EQ(result.status, 'I') << c.label;
        EXPECT_EQ(result.summary.rfind(c.summaryStart, 0), 0u) << c.label << ": " << result.summary;
        EXPECT_LE(result.summary.size(), 511u) << c.label;
        EXPECT_LE(result.details.size(), 512u * 3) << c.label;
    }
}

// ------------------------------------------------------------ every reader, every shape

TEST(LocalChecksRobustness, CpuValuesOfEveryShape)
{
    ScratchKey key(HKEY_LOCAL_MACHINE, kProcessorKey, kNative, REG_OPTION_VOLATILE);
    const std::string prefix = "Minimum CPU speed is 1.00 GHz.  Recommended CPU speed is 2.00 GHz.";
    struct Case {
        const char* label;
        DWORD nameType;
        std::string name;
        DWORD clockType;
        std::string clock;
        std::string summary;
    } cases[] = {
        {"NameAsNumber", REG_DWORD, std::string("ABCD"), REG_DWORD, std::string("\x64\0\0\0", 4),
         "Unknown Vendor, 100.00 MHz"},
        {"NameEmpty", REG_SZ, std::string(), REG_DWORD, std::string(), "Unknown Vendor, Unknown Speed"},
        {"NameTooLong", REG_SZ, std::string(5000, 'z'), REG_BINARY, std::string("\x01", 1), "Unknown Vendor, 1.00 MHz"},
        {"ClockAsText", REG_SZ, std::string("Acme", 5), REG_SZ, std::string("2394", 5), "Acme"},
        {"ClockTooLong", REG_SZ, std::string("Acme", 5), REG_BINARY, std::string(9000, '\x01'), "Acme"},
        {"NameOfBlanks", REG_SZ, std::string(255, ' '), REG_DWORD, std::string("\xe8\x03\0\0", 4),
         "Unknown Vendor, 1.00 GHz"},
    };
    for (const Case& c : cases) {
        key.Set("ProcessorNameString", c.nameType, c.name.data(), static_cast<DWORD>(c.name.size()));
        key.Set("~MHz", c.clockType, c.clock.data(), static_cast<DWORD>(c.clock.size()));
        const TestResult result = RunCheck(CheckCpu);
        EXPECT_EQ(result.status, 'I') << c.label;
        EXPECT_EQ(result.summary, c.summary + ProcessorCountSuffix()) << c.label;
        EXPECT_EQ(result.details.rfind(prefix, 0), 0u) << c.label;
    }
}

TEST(LocalChecksRobustness, EveryCheckGivesALetter)
{
    for (CheckFunction check : {CheckOperatingSystem, CheckDiskSpace, CheckMemory, CheckCpu, CheckScreenResolution,
                                CheckHostEnvironment, CheckWindowsAutoUpdate, CheckSecureScreenSaver}) {
        const TestResult result = RunCheck(check);
        EXPECT_TRUE(IsLetter(result.status));
        EXPECT_FALSE(result.summary.empty());
        // What this system reports, for whoever reads the test log.
        std::printf("%c | %s | %s\n", result.status, result.summary.c_str(), result.details.c_str());
    }
}
