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
    CONTEXT* context = pointers->ContextRecord;
    const void* address = pointers->ExceptionRecord->ExceptionAddress;
    if (address == VirtualPcInstructionAddress()) {
        context->Ebx = 0x7E57;
        context->Eip += 4;
    } else if (address == VmwareBackdoorInstructionAddress()) {
        context->Ebx = 0x7E57;
        context->Eip += 1;
    } else {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    ++g_faultsReachingTheTest;
    return EXCEPTION_CONTINUE_EXECUTION;
}

class ProbeGuard : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_faultsReachingTheTest = 0;
        handler_ = AddVectoredExceptionHandler(0, CatchProbeFaultsForTheTest);
        ASSERT_NE(handler_, nullptr);
    }
    void TearDown() override { RemoveVectoredExceptionHandler(handler_); }
    PVOID handler_ = nullptr;
};

void RepairNothing(CONTEXT&) {}

} // namespace

TEST(VirtualMachineProbes, AnswerFalseOnThisProcessor)
{
    EXPECT_FALSE(IsInsideVirtualPc());
    int32_t version = 77;
    uint32_t productType = 77;
    EXPECT_FALSE(IsInsideVmware(&version, &productType));
    EXPECT_EQ(version, 0);
    EXPECT_EQ(productType, 0u);
    EXPECT_FALSE(IsInsideVmware(nullptr, nullptr));
    EXPECT_FALSE(IsInsideVirtualBox());
    // Again, so that a guard left behind by the first round would show.
    EXPECT_FALSE(IsInsideVirtualPc());
    EXPECT_FALSE(IsInsideVmware(&version, nullptr));
}

TEST_F(ProbeGuard, CatchesItsOwnFault)
{
    {
        ScopedProbeFaultGuard guard(VirtualPcInstructionAddress(), 4,
                                    [](CONTEXT& context) { context.Ebx = 0xFFFFFFFFu; });
        EXPECT_EQ(RunVirtualPcInstruction(), 0xFFFFFFFFu);
        EXPECT_TRUE(guard.Caught());
    }
    EXPECT_EQ(g_faultsReachingTheTest, 0);
}

TEST_F(ProbeGuard, LeavesAFaultElsewhereOnItsThreadAlone)
{
    ScopedProbeFaultGuard guard(VirtualPcInstructionAddress(), 4, RepairNothing);
    VmwareBackdoorRegisters registers = {};
    RunVmwareBackdoor(&registers);
    EXPECT_EQ(registers.ebx, 0x7E57u);
    EXPECT_FALSE(guard.Caught());
    EXPECT_EQ(g_faultsReachingTheTest, 1);
}

TEST_F(ProbeGuard, LeavesTheSameFaultOnAnotherThreadAlone)
{
    ScopedProbeFaultGuard guard(VirtualPcInstructionAddress(), 4, RepairNothing);
    uint32_t ebx = 0;
    std::thread other([&ebx] { ebx = RunVirtualPcInstruction(); });
    other.join();
    EXPECT_EQ(ebx, 0x7E57u);
    EXPECT_FALSE(guard.Caught());
    EXPECT_EQ(g_faultsReachingTheTest, 1);
}

TEST_F(ProbeGuard, GoneOnceTheProbeEnds)
{
    EXPECT_FALSE(IsInsideVirtualPc());
    EXPECT_EQ(g_faultsReachingTheTest, 0);
    // No guard lives now: the fault goes to the next handler.
    EXPECT_EQ(RunVirtualPcInstruction(), 0x7E57u);
    EXPECT_EQ(g_faultsReachingTheTest, 1);
}
