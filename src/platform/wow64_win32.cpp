#include "platform/wow64_win32.h"

#include "platform/scoped_win32.h"

namespace {

using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
using GetNativeSystemInfoFn = void(WINAPI*)(LPSYSTEM_INFO);

// Both entry points are missing on older systems, so they are found by name.
HMODULE Kernel32() { return GetModuleHandleA("kernel32.dll"); }

} // namespace

bool IsRunningUnderWow64()
{
    auto isWow64Process = LookUpProc<IsWow64ProcessFn>(Kernel32(), "IsWow64Process");
    BOOL wow64 = FALSE;
    if (isWow64Process == nullptr || !isWow64Process(GetCurrentProcess(), &wow64))
        return false;
    return wow64 != FALSE;
}

uint16_t GetNativeProcessorArchitecture()
{
    auto getNativeSystemInfo = LookUpProc<GetNativeSystemInfoFn>(Kernel32(), "GetNativeSystemInfo");
#if !defined(_WIN64)
    // A 32-bit program outside WOW64 is on 32-bit Windows. (The 64-bit build,
    // made for hosts that cannot run 32-bit code, asks the system alone.)
    auto isWow64Process = LookUpProc<IsWow64ProcessFn>(Kernel32(), "IsWow64Process");
    BOOL wow64 = FALSE;
    if (isWow64Process != nullptr && isWow64Process(GetCurrentProcess(), &wow64) && !wow64)
        return 0;
#endif

    SYSTEM_INFO info = {};
    if (getNativeSystemInfo != nullptr)
        getNativeSystemInfo(&info);
    else
        GetSystemInfo(&info);
    return info.wProcessorArchitecture;
}
