#include "checks/local/calendar.h"
#include "checks/local/cpu.h"
#include "checks/local/disk_space.h"
#include "checks/local/host_environment.h"
#include "checks/local/memory.h"
#include "checks/local/operating_system.h"
#include "checks/local/screen_resolution.h"
#include "checks/local/secure_screen_saver.h"
#include "checks/local/windows_auto_update.h"
#include "graded.h"

#include <gtest/gtest.h>

TEST(Memory_Grade, PassMarkAndSummary)
{
    const std::string details = "Requires 4096M RAM, 32M allowed for shared video ram.";
    EXPECT_EQ(Graded(GradeMemory, {4064ull << 20}), Record('A', "4064 M System Memory", details));
    EXPECT_EQ(Graded(GradeMemory, {(4064ull << 20) - 1}), Record('F', "4063 M System Memory", details));
}

TEST(DiskSpace_Grade, MarksAndSummaries)
{
    constexpr uint64_t kMB = 1ull << 20;
    const std::tuple<DiskSpaceFacts, TestStatus, const char*> cases[] = {
        {{true, "C:\\", true, 1024 * kMB, 2048 * kMB}, 'F', "Drive \"C:\", 2048 total, 1024 M free (50.00%)"},
        {{true, "C:\\", true, 1025 * kMB, 2048 * kMB}, 'A', "Drive \"C:\", 2048 total, 1025 M free (50.05%)"},
        {{true, "C:\\", true, 512 * 1024, kMB - 1}, 'F', "Drive \"C:\", 0 total, 0 M free (0.00%)"},
        {{false, "", false, 0, 0}, 'F', "Internal Error (SHGetFolderPath)"},
        {{true, "C:\\", false, 0, 0}, 'F', "Internal Error (GetDiskFreeSpaceEx)"},
    };
    for (const auto& [facts, status, summary] : cases)
        EXPECT_EQ(Graded(GradeDiskSpace, facts), Record(status, summary, "Requires 1024 MB free disk space.\n"));
}

TEST(Cpu_Grade, NamesClocksAndCounts)
{
    const std::string recommendation = "Minimum CPU speed is 1.00 GHz.  Recommended CPU speed is 2.00 GHz.";
    const std::tuple<CpuFacts, std::string, std::string> cases[] = {  // facts, summary, the speed or registry line
        // Only blanks are tidied: leading ones dropped, runs of them made one.
        {{2, true, 2394, "  Acme   Quad\t\tCore "}, "Acme Quad\t\tCore (x2)", "Actual Speed: 2.39 GHz."},
        {{4, true, 2394, ""}, "Unknown Vendor, 2.39 GHz(x4)", ""},
        {{1, true, 0, "   "}, "Unknown Vendor, Unknown Speed", ""},
        {{0, true, 500, "Acme"}, "Acme", "Actual Speed: 500.00 MHz."},
        {{1, true, 4300, "Acme"}, "Acme", "Actual Speed: 4.30 GHz."},  // beyond 32 bits in hertz
        {{4, false, 2394, "Acme"}, "Unable to determine",
         "\nUnable to read registry key: HKLMHardware\\Description\\System\\CentralProcessor\\0\n"},
    };
    for (const auto& [facts, summary, speed] : cases)
        EXPECT_EQ(Graded(GradeCpu, facts), Record('I', summary, recommendation + speed));
}

TEST(ScreenResolution_Grade, BelowTheMinimumStillInformsWithTheMinimumLine)
{
    EXPECT_EQ(Graded(GradeScreenResolution, {1, 800, 600, 16, 75}),
              Record('I', "800 x 600, 16 bpp, 75 HZ, 1 Display(s)", "Minimum resolution: 1024 x 768, 15 bpp.\n"));
}

TEST(OperatingSystem_Grade, ReleasesArchitecturesAndInstallDates)
{
    const char* const supported = "Windows 7/8/10 (32-bit or 64-bit) is supported.\n";
    const char* const required = "Windows 7/8/10 Required (32-bit or 64-bit).\n";
    const std::tuple<OperatingSystemFacts, char, const char*, const char*> cases[] = {
        {{25, "Windows 7", "SP1.0", 9, 951782400}, 'A', "Windows 7, SP1.0 (64-bit) (2000-02-29)", supported},
        {{28, "Windows 8", "SP0.0", 10, {}}, 'A', "Windows 8, SP0.0 (64-bit)", supported},
        {{24, "Windows Vista", "SP2.0", 0, -1}, 'F', "Windows Vista, SP2.0 (32-bit) (1969-12-31)", required},
        {{16, "Windows XP Unknown", "SP2.0", 9, 1201737600}, 'F',
         "Windows XP Unknown, SP2.0 (64-bit) (64 Bit XP) (2008-01-31)",
         "64-bit Windows XP not supported.\nWindows 7/8/10 Required (32-bit or 64-bit).\n"},
        {{25, "Windows 7", "SP1.0", 6, 1400000000}, 'F', "Windows 7, SP1.0 (Itanium 64 Bit OS)",
         "64-bit Itanium CPU not supported.\n"},
        {{29, "", "SP0.0", 0, INT32_MAX}, 'F', ", SP0.0 (32-bit) (2038-01-19)",
         "Unable to determine operating system version.\n"},
    };
    for (const auto& [facts, status, summary, details] : cases)
        EXPECT_EQ(Graded(GradeOperatingSystem, facts), Record(status, summary, details));
}

TEST(SecureScreenSaver_Grade, SettingsAndAdvice)
{
    const std::string advice =
        "We HIGHLY SUGGEST that your computer to be configured with a 'secure' screen saver that requires a password "
        "to unlock and automatically locks the screen after 15 minutes (or less) of inactivity.\n";
    const std::string notConfigured = advice + " ** Your screen saver is not configured. **\n";
    const char* const saver = "C:\\Windows\\system32\\scrnsave.scr";
    using Text = std::optional<std::string>;
    const std::tuple<Text, Text, Text, Text, std::string, std::string> cases[] = {
        // active, time-out, program, secure
        {"1", "959", saver, "1", "'scrnsave', 15 minutes, active:Y, secure:Y", advice},
        {"1", "960", saver, "1", "'scrnsave', 16 minutes, active:Y, secure:Y",
         advice + " ** Time limit, 16, exceeds 15 minutes. **\n"},
        {"0", "600", saver, "1", "'scrnsave', 10 minutes, active:N, secure:N", notConfigured},
        {"1", "600", saver, "0", "'scrnsave', 10 minutes, active:Y, secure:N",
         advice + " ** Your screen saver is not 'secure' (does not require password to restore screen). **\n"},
        {{}, {}, {}, {}, "'<NONE>', 0 minutes, active:N, secure:N", notConfigured},
        {"  +1x", " 300 seconds", "C:s.tar.scr", "-1", "'s.tar', 5 minutes, active:Y, secure:Y", advice},
        // A negative time compares, and shows, as a huge unsigned number.
        {"1", "-600", saver, "1", "'scrnsave', 4294967286 minutes, active:Y, secure:Y",
         advice + " ** Time limit, 4294967286, exceeds 15 minutes. **\n"},
    };
    for (const auto& [active, timeOut, program, secure, summary, details] : cases)
        EXPECT_EQ(Graded(GradeSecureScreenSaver, {true, active, timeOut, program, secure}),
                  Record('I', summary, details));
    EXPECT_EQ(Graded(GradeSecureScreenSaver, {}), Record('I', "Unable to determine", ""));
}

namespace {

// Answers yes to the probes named in `yes` (remote session 'R', Virtual PC 'P', VMware 'W',
// VirtualBox 'B') and writes down each probe asked, the architecture 'A' included.
struct ScriptedProbes : HostEnvironmentProbes {
    std::string yes, asked;
    int32_t version = 0;
    uint32_t product = 0;
    uint16_t architecture = 0;
    bool Ask(char probe) { return asked += probe, yes.find(probe) != std::string::npos; }
    bool IsRemoteSession() override { return Ask('R'); }
    bool IsInsideVirtualPc() override { return Ask('P'); }
    bool IsInsideVmware(int32_t& v, uint32_t& p) override { return v = version, p = product, Ask('W'); }
    bool IsInsideVirtualBox() override { return Ask('B'); }
    uint16_t NativeProcessorArchitecture() override { return asked += 'A', architecture; }
};

} // namespace

TEST(HostEnvironment_Grade, OutcomesAndProbeOrder)
{
    const std::string general =
        "The USB check scanning hardware does NOT work inside some virtual machines, over a remote desktop "
        "connection or on all 64-bit processors.  This test checks for those environments.";
    const std::string olderVmware =
        "The USB check scanning hardware does NOT function inside VMWare Server, ESX or similar.  It will, however, "
        "function in Workstation 6 or better.";
    // yes, VMware version and product type, architecture: probes asked, summary, details
    const std::tuple<const char*, int32_t, uint32_t, uint16_t, const char*, const char*, std::string> cases[] = {
        // A remote desktop to a virtual machine reports the remote desktop only.
        {"RPWB", 5, 2, 9, "R", "Remote Desktop not supported",
         "The USB check scanning hardware does NOT work over a remote desktop connection."},
        {"PWB", 5, 2, 9, "RP", "Microsoft Virtual PC not supported",
         "The USB check scanning hardware does NOT work inside a Microsot Virtual PC."},
        // Workstation (4) 6 and later counts as a physical machine.
        {"W", 6, 4, 9, "RPWBA", "64-bit architecture is good.", general},
        {"W", 5, 4, 9, "RPW", "Older VMWare not supported", olderVmware},
        {"W", 7, 2, 9, "RPW", "Older VMWare not supported", olderVmware},
        {"", 7, 2, 9, "RPWBA", "64-bit architecture is good.", general},  // figures without an answer
        {"WB", 7, 4, 9, "RPWB", "Oracle VirtualBox", "Partially tested virtualization platform."},
        {"", 0, 0, 6, "RPWBA", "Itanium 64-bit CPU not supported", general},
        {"", 0, 0, 0, "RPWBA", "32-bit architecture is good.", general},
        {"", 0, 0, 5, "RPWBA", "Unknown host architecture.", general},
    };
    for (const auto& [yes, version, type, arch, asked, summary, details] : cases) {
        ScriptedProbes probes;
        std::tie(probes.yes, probes.version, probes.product, probes.architecture) = std::tie(yes, version, type, arch);
        TestResult result;
        GradeHostEnvironment(probes, result);
        EXPECT_EQ(std::tie(probes.asked, result.status, result.summary, result.details),
                  std::make_tuple(asked, 'I', summary, details));
    }
}

TEST(WindowsAutoUpdate_Grade, SwitchesWholeDaysAndUnusableTimes)
{
    using S = AutoUpdateSource;
    const auto grade = [](S source, uint32_t no, uint32_t options, auto text, bool opened = true) {
        return Graded(GradeWindowsAutoUpdate,
                      {source, no, options, opened, text, FileTimeFromCivil({2015, 12, 15, 14, 22, 0})});
    };
    const std::tuple<S, uint32_t, uint32_t, const char*, const char*> cases[] = {
        {S::Policy, 1, 0, "2015-12-01 14:22:01", "Disabled (last applied 13 days ago)"},  // 14th day not complete
        {S::Policy, 0, 1, "2015-12-01 14:22:00", "Disabled (last applied 14 days ago)"},
        {S::Setting, 0x31, 4, "2015-12-15 15:22:00", "Disabled (last applied 0 days ago)"},  // "1" as text is 0x31
        {S::Policy, 0, 0, "2015-12-17 14:22:00", "Enabled (last applied -2 days ago)"},
        {S::None, 1, 1, "1601-01-01 00:00:00", "Enabled (last applied 151558 days ago)"},
        {S::None, 0, 0, "2015-12-1414:22:00 and more", "Enabled (last applied 1 days ago)"},  // the rest is not read
    };
    for (const auto& [source, no, options, text, summary] : cases) {
        const auto [status, shown, details] = grade(source, no, options, text);
        EXPECT_EQ(std::make_pair(status, shown), std::make_pair('I', std::string(summary))) << text;
    }
    // Six numbers that name no real moment are as unparsable as text that does not match.
    for (const char* text : {"2015-12-01", "", "-201-12-01 00:00:00", "2015-13-01 00:00:00",
                             "2015-02-29 00:00:00", "2015-12-01 24:00:00", "1600-12-31 23:59:59"})
        EXPECT_EQ(grade(S::Policy, 1, 0, text), Record('I', "Unable to parse 'LastSuccessTime'", text));
    // Neither a time in a key that did not open nor a key without the time is read.
    const auto key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\WindowsUpdate\\Auto Update\\Results\\Install";
    for (const auto& r : {grade(S::Policy, 1, 0, "2015-12-01 14:22:00", false), grade(S::Setting, 0, 0, std::nullopt)})
        EXPECT_EQ(r, Record('I', "Unable to read required registry key", key));
}
