#include "checks/local/virtual_machine_probes_win32.h"

#include "platform/scoped_win32.h"

#include <atomic>
#include <mutex>

// The two instruction sequences are written as whole routines in assembly,
// each instruction under its own global label, so that the fault handler
// can tell a probe's fault from any other by its exact address. The names
// are given verbatim (asm labels), free of the C symbol prefix. kavlo.exe is
// a 32-bit program; the 64-bit form serves builds for 64-bit-only hosts.
extern "C" uint32_t KavloRunVirtualPcInstruction() __asm__("kavlo_run_virtual_pc_instruction");
extern "C" void KavloRunVmwareBackdoor(VmwareBackdoorRegisters* registers) __asm__("kavlo_run_vmware_backdoor");
extern "C" const char KavloVirtualPcInstruction[] __asm__("kavlo_virtual_pc_instruction");
extern "C" const char KavloVmwareBackdoorInstruction[] __asm__("kavlo_vmware_backdoor_instruction");

#if defined(__i386__)
__asm__(
    ".text\n"
    ".p2align 4\n"
    // uint32_t kavlo_run_virtual_pc_instruction(void): EAX = 1, EBX = 0, the
    // four bytes Virtual PC's processor implements, then EBX is the answer.
    "kavlo_run_virtual_pc_instruction:\n"
    "    pushl %ebx\n"
    "    movl $1, %eax\n"
    "    xorl %ebx, %ebx\n"
    "kavlo_virtual_pc_instruction:\n"
    "    .byte 0x0f, 0x3f, 0x07, 0x0b\n"
    "    movl %ebx, %eax\n"
    "    popl %ebx\n"
    "    ret\n"
    ".p2align 4\n"
    // void kavlo_run_vmware_backdoor(VmwareBackdoorRegisters*): the
    // get-version command (ECX = 10) on VMware's port 0x5658 with the magic
    // number VMXh in EAX; VMware echoes the magic in EBX.
    "kavlo_run_vmware_backdoor:\n"
    "    pushl %ebx\n"
    "    pushl %esi\n"
    "    movl 12(%esp), %esi\n"
    "    movl $0x564D5868, %eax\n"
    "    xorl %ebx, %ebx\n"
    "    movl $10, %ecx\n"
    "    movl $0x5658, %edx\n"
    "kavlo_vmware_backdoor_instruction:\n"
    "    inl %dx, %eax\n"
    "    movl %eax, 0(%esi)\n"
    "    movl %ebx, 4(%esi)\n"
    "    movl %ecx, 8(%esi)\n"
    "    popl %esi\n"
    "    popl %ebx\n"
    "    ret\n");
#elif defined(__x86_64__)
// The same routines in the Windows x64 convention: the argument comes in RCX,
// RBX is the caller's.
__asm__(
    ".text\n"
    ".p2align 4\n"
    "kavlo_run_virtual_pc_instruction:\n"
    "    pushq %rbx\n"
    "    movl $1, %eax\n"
    "    xorl %ebx, %ebx\n"
    "kavlo_virtual_pc_instruction:\n"
    "    .byte 0x0f, 0x3f, 0x07, 0x0b\n"
    "    movl %ebx, %eax\n"
    "    popq %rbx\n"
    "    ret\n"
    ".p2align 4\n"
    "kavlo_run_vmware_backdoor:\n"
    "    pushq %rbx\n"
    "    movq %rcx, %r8\n"
    "    movl $0x564D5868, %eax\n"
    "    xorl %ebx, %ebx\n"
    "    movl $10, %ecx\n"
    "    movl $0x5658, %edx\n"
    "kavlo_vmware_backdoor_instruction:\n"
    "    inl %dx, %eax\n"
    "    movl %eax, 0(%r8)\n"
    "    movl %ebx, 4(%r8)\n"
    "    movl %ecx, 8(%r8)\n"
    "    popq %rbx\n"
    "    ret\n");
#else
#error "The processor-level probes are written for x86."
#endif

namespace {

constexpr uint32_t kVmwareMagic = 0x564D5868;  // "VMXh"

// One guard at a time: the handler finds it here without taking a lock or
// allocating, which it must not do while another thread's fault is
// dispatched through it.
std::atomic<ScopedProbeFaultGuard*> g_activeGuard{nullptr};
std::mutex g_guardMutex;

bool IsInstructionFault(DWORD code)
{
    // Real processors refuse the Virtual PC bytes as an invalid instruction
    // and the port read as privileged; a system may report the port read as
    // a general protection fault, that is an access violation.
    return code == EXCEPTION_ILLEGAL_INSTRUCTION || code == EXCEPTION_PRIV_INSTRUCTION ||
           code == EXCEPTION_ACCESS_VIOLATION;
}

void RepairVirtualPcFault(CONTEXT& context)
{
    ContextEbx(context) = 0xFFFFFFFFu;  // not the 0 that Virtual PC leaves
}

void RepairVmwareFault(CONTEXT& context)
{
    ContextEax(context) = 0;
    ContextEbx(context) = 0;  // not the magic number
    ContextEcx(context) = 0;
}

} // namespace

ScopedProbeFaultGuard::ScopedProbeFaultGuard(const void* instruction, DWORD length, Repair repair)
    : instruction_(instruction), length_(length), repair_(repair), threadId_(GetCurrentThreadId())
{
    g_guardMutex.lock();
    g_activeGuard.store(this);
    handler_ = AddVectoredExceptionHandler(1, &ScopedProbeFaultGuard::HandleFault);
}

ScopedProbeFaultGuard::~ScopedProbeFaultGuard()
{
    if (handler_ != nullptr)
        RemoveVectoredExceptionHandler(handler_);
    g_activeGuard.store(nullptr);
    g_guardMutex.unlock();
}

LONG CALLBACK ScopedProbeFaultGuard::HandleFault(EXCEPTION_POINTERS* pointers)
{
    ScopedProbeFaultGuard* guard = g_activeGuard.load();
    if (guard == nullptr || GetCurrentThreadId() != guard->threadId_)
        return EXCEPTION_CONTINUE_SEARCH;
    const EXCEPTION_RECORD* record = pointers->ExceptionRecord;
    CONTEXT* context = pointers->ContextRecord;
    if (record->ExceptionAddress != guard->instruction_ || !IsInstructionFault(record->ExceptionCode) ||
        ContextIp(*context) != reinterpret_cast<uintptr_t>(guard->instruction_))
        return EXCEPTION_CONTINUE_SEARCH;
    guard->repair_(*context);
    ContextIp(*context) += guard->length_;
    guard->caught_ = true;
    return EXCEPTION_CONTINUE_EXECUTION;
}

uint32_t RunVirtualPcInstruction()
{
    return KavloRunVirtualPcInstruction();
}

void RunVmwareBackdoor(VmwareBackdoorRegisters* registers)
{
    KavloRunVmwareBackdoor(registers);
}

const void* VirtualPcInstructionAddress()
{
    return KavloVirtualPcInstruction;
}

const void* VmwareBackdoorInstructionAddress()
{
    return KavloVmwareBackdoorInstruction;
}

bool IsInsideVirtualPc()
{
    const ScopedProbeFaultGuard guard(VirtualPcInstructionAddress(), 4, RepairVirtualPcFault);
    return guard.Armed() && RunVirtualPcInstruction() == 0;
}

bool IsInsideVmware(int32_t* version, uint32_t* productType)
{
    VmwareBackdoorRegisters registers = {};
    {
        const ScopedProbeFaultGuard guard(VmwareBackdoorInstructionAddress(), 1, RepairVmwareFault);
        if (guard.Armed())
            RunVmwareBackdoor(&registers);
    }
    const bool inside = registers.ebx == kVmwareMagic;
    if (version != nullptr)
        *version = inside ? static_cast<int32_t>(registers.eax) : 0;
    if (productType != nullptr)
        *productType = inside ? registers.ecx : 0;
    return inside;
}

bool IsInsideVirtualBox()
{
    // Its own view: the ACPI tables are not redirected under WOW64.
    ScopedRegKey key;
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\ACPI\\DSDT\\VBOX__", 0, KEY_READ, key.Receive()) ==
           ERROR_SUCCESS;
}
