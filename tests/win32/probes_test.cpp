#include "app/error_text_win32.h"
#include "checks/local/virtual_machine_probes_win32.h"
#include "platform/registry_win32.h"
#include "platform/wow64_win32.h"
#include "registry_scratch.h"
#include "report_test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

TEST(RegistryProbe, ValueTypesThroughTheNativeView)
{
    EXPECT_EQ(IsRunningUnderWow64(), sizeof(void*) == 4);  // the test prefix is 64-bit
    const char* const path = "Software\\KavloTests\\Probes";
    const std::string longText(100000, '7');
    {
        ScratchKey key(HKEY_CURRENT_USER, path, KEY_WOW64_64KEY);
        const std::tuple<const char*, DWORD, std::string, std::optional<std::string>> values[] = {
            {"NoNul", REG_SZ, "world", "world"}, {"Short", REG_DWORD, "\x01", std::nullopt},
            {"Long", REG_SZ, longText, longText}, {"Missing", 0, "", std::nullopt}};
        for (const auto& [name, type, data, text] : values) {
            if (type)
                key.Set(name, type, data);
            EXPECT_EQ(ReadRegKeyValueText(HKEY_CURRENT_USER, path, name), text) << name;
        }
    }
    EXPECT_EQ(ReadRegKeyValueText(HKEY_CURRENT_USER, path, "NoNul"), std::nullopt);  // no such key
}

// The box that the upload shows for a failed step: the system's text as it
// stands, "%1" included, and a box of its own for a number without text.
TEST(ErrorBox, TextWithInsertsAndNumberWithoutText)
{
    const std::string system = SystemMessage(ERROR_BAD_EXE_FORMAT);
    ASSERT_NE(system.find("%1"), std::string::npos) << system;
    const std::pair<DWORD, std::string> cases[] = {
        {ERROR_BAD_EXE_FORMAT, "Error Message|" + system},
        {0x3FFFFFFF, "Error|Unable to format message"},
    };
    for (const auto& [code, expected] : cases) {
        std::string shown;
        const auto answer = [&shown](HWND box) { shown = TextOf(box) + "|" + MessageOf(box), Press(box, IDOK); };
        DialogWatcher withText("Error Message", answer), withoutText("Error", answer);
        SetLastError(code);
        ShowLastErrorBox("HttpSendRequestEx()");
        EXPECT_EQ(withText.Finish() + withoutText.Finish(), 1) << code;
        EXPECT_EQ(shown, expected) << code;
    }
}

namespace {

// The processor-level probes fault on a real processor (their answer is the host
// environment check's). The test's own last-resort handler repairs their faults
// as the guards would, and counts those that every guard left alone.
std::atomic<int> g_faultsReachingTheTest{0};

LONG CALLBACK CatchProbeFaultsForTheTest(EXCEPTION_POINTERS* pointers)
{
    const void* address = pointers->ExceptionRecord->ExceptionAddress;
    if (address != VirtualPcInstructionAddress() && address != VmwareBackdoorInstructionAddress())
        return EXCEPTION_CONTINUE_SEARCH;
    ContextEbx(*pointers->ContextRecord) = 0x7E57;
    ContextIp(*pointers->ContextRecord) += address == VirtualPcInstructionAddress() ? 4 : 1;
    ++g_faultsReachingTheTest;
    return EXCEPTION_CONTINUE_EXECUTION;
}

} // namespace

TEST(VirtualMachineProbes, GuardCatchesOnlyItsOwnFault)
{
    const PVOID handler = AddVectoredExceptionHandler(0, CatchProbeFaultsForTheTest);
    ASSERT_NE(handler, nullptr);
    {
        ScopedProbeFaultGuard guard(VirtualPcInstructionAddress(), 4,
                                    [](CONTEXT& context) { ContextEbx(context) = ~0u; });
        VmwareBackdoorRegisters registers = {};
        RunVmwareBackdoor(&registers);  // another instruction on the guard's thread
        EXPECT_EQ(registers.ebx, 0x7E57u);
        EXPECT_EQ(g_faultsReachingTheTest, 1);
        uint32_t ebx = 0;
        std::thread([&ebx] { ebx = RunVirtualPcInstruction(); }).join();  // its instruction on another thread
        EXPECT_EQ(ebx, 0x7E57u);
        EXPECT_EQ(g_faultsReachingTheTest, 2);
        EXPECT_FALSE(guard.Caught());
        EXPECT_EQ(RunVirtualPcInstruction(), ~0u);  // its own instruction on its own thread
        EXPECT_TRUE(guard.Caught());
    }
    // A probe's guard is gone once the probe ends (and a guard left behind would show here).
    EXPECT_FALSE(IsInsideVirtualPc());
    EXPECT_EQ(g_faultsReachingTheTest, 2);
    EXPECT_EQ(RunVirtualPcInstruction(), 0x7E57u);
    EXPECT_EQ(g_faultsReachingTheTest, 3);
    RemoveVectoredExceptionHandler(handler);
}
