// The processor-level probes under Wine, which runs them on the real
// processor: each must fault, be caught by its own guard and answer false,
// while the guard leaves every fault that is not its probe's alone.
#include "checks/local/virtual_machine_probes_win32.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

// A last-resort handler of the test's own that repairs the probes' faults
// the way their guards would, and counts them: a fault that reaches it was
// left alone by every guard.
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

TEST(VirtualMachineProbes, AnswerFalseOnThisProcessor)
{
    int32_t version = 77;
    uint32_t productType = 77;
    EXPECT_FALSE(IsInsideVirtualPc());
    EXPECT_FALSE(IsInsideVmware(&version, &productType));
    EXPECT_EQ(std::make_pair(version, productType), std::make_pair(0, 0u));
    EXPECT_FALSE(IsInsideVmware(nullptr, nullptr));
    EXPECT_FALSE(IsInsideVirtualBox());
}

TEST(VirtualMachineProbes, GuardCatchesOnlyItsOwnFault)
{
    const PVOID handler = AddVectoredExceptionHandler(0, CatchProbeFaultsForTheTest);
    ASSERT_NE(handler, nullptr);
    {
        ScopedProbeFaultGuard guard(VirtualPcInstructionAddress(), 4, [](CONTEXT& context) { ContextEbx(context) = ~0u; });
        VmwareBackdoorRegisters registers = {};
        RunVmwareBackdoor(&registers);  // another instruction on the guard's thread
        EXPECT_EQ(registers.ebx, 0x7E57u);
        EXPECT_EQ(g_faultsReachingTheTest, 1);
        uint32_t ebx = 0;
        std::thread other([&ebx] { ebx = RunVirtualPcInstruction(); });  // its instruction on another thread
        other.join();
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
