// Probes that tell whether the program runs inside a virtual machine.
#pragma once

#include <windows.h>

#include <cstdint>

// Virtual PC's virtual processor implements an instruction that real ones
// fault on.
bool IsInsideVirtualPc();
// VMware answers on its I/O port; version and product type (4: Workstation)
// are written when given, and are 0 when no VMware answered.
bool IsInsideVmware(int32_t* version, uint32_t* productType);
// VirtualBox's ACPI table is visible in the registry.
bool IsInsideVirtualBox();

// The registers a probe reads and a repair sets, by their 32-bit names, and
// the instruction pointer, on either processor.
#if defined(__x86_64__)
inline DWORD64& ContextEax(CONTEXT& context) { return context.Rax; }
inline DWORD64& ContextEbx(CONTEXT& context) { return context.Rbx; }
inline DWORD64& ContextEcx(CONTEXT& context) { return context.Rcx; }
inline DWORD64& ContextIp(CONTEXT& context) { return context.Rip; }
#else
inline DWORD& ContextEax(CONTEXT& context) { return context.Eax; }
inline DWORD& ContextEbx(CONTEXT& context) { return context.Ebx; }
inline DWORD& ContextEcx(CONTEXT& context) { return context.Ecx; }
inline DWORD& ContextIp(CONTEXT& context) { return context.Eip; }
#endif

// The guard under which a processor-level probe runs. While it lives, a
// fault raised by exactly `instruction` on the thread that made the guard is
// repaired (`repair` sets the registers the probe's own code then tests) and
// execution resumes after the instruction; every other fault, on this thread
// or any other, goes on to whatever handler would have had it.
class ScopedProbeFaultGuard {
public:
    using Repair = void (*)(CONTEXT& context);
    ScopedProbeFaultGuard(const void* instruction, DWORD length, Repair repair);
    ~ScopedProbeFaultGuard();
    ScopedProbeFaultGuard(const ScopedProbeFaultGuard&) = delete;
    ScopedProbeFaultGuard& operator=(const ScopedProbeFaultGuard&) = delete;

    // False when the handler could not be installed: the probe's instruction
    // must not run then, since its fault would end the process.
    bool Armed() const { return handler_ != nullptr; }
    bool Caught() const { return caught_; }

private:
    static LONG CALLBACK HandleFault(EXCEPTION_POINTERS* pointers);

    const void* instruction_;
    DWORD length_;
    Repair repair_;
    DWORD threadId_;
    PVOID handler_ = nullptr;
    volatile bool caught_ = false;
};

// The bare instruction sequences, without a guard (the tests that prove the
// guard run them on purpose). Each returns what the probe tests afterwards.
struct VmwareBackdoorRegisters {
    uint32_t eax;
    uint32_t ebx;
    uint32_t ecx;
};
uint32_t RunVirtualPcInstruction();                          // EBX after the instruction
void RunVmwareBackdoor(VmwareBackdoorRegisters* registers);
const void* VirtualPcInstructionAddress();
const void* VmwareBackdoorInstructionAddress();
