#include "checks/network/call_deadline_win32.h"

#include <wininet.h>

#include <cstring>
#include <new>

namespace {

// Shared by the caller and the thread; whichever lets go last frees it.
struct PendingCall {
    LONG references = 2;
    DeadlineCall call = nullptr;
    BOOL result = FALSE;
    DWORD error = 0;
    size_t argumentSize = 0;
    alignas(8) unsigned char argument[1];  // argumentSize bytes

    static PendingCall* Make(DeadlineCall call, const void* argument, size_t size)
    {
        void* memory = ::operator new(sizeof(PendingCall) + size, std::nothrow);
        if (memory == nullptr)
            return nullptr;
        PendingCall* pending = new (memory) PendingCall;
        pending->call = call;
        pending->argumentSize = size;
        std::memcpy(pending->argument, argument, size);
        return pending;
    }

    void Release()
    {
        if (InterlockedDecrement(&references) == 0) {
            this->~PendingCall();
            ::operator delete(this);
        }
    }
};

DWORD WINAPI RunPendingCall(void* parameter)
{
    PendingCall* pending = static_cast<PendingCall*>(parameter);
    pending->result = pending->call(pending->argument);
    pending->error = GetLastError();
    pending->Release();
    return 0;
}

}  // namespace

BOOL RunWithDeadline(DeadlineCall call, const void* argument, size_t argumentSize, DWORD deadlineMs)
{
    PendingCall* pending = PendingCall::Make(call, argument, argumentSize);
    if (pending == nullptr)
        return call(const_cast<void*>(argument));
    HANDLE thread = CreateThread(nullptr, 0, RunPendingCall, pending, 0, nullptr);
    if (thread == nullptr) {
        ::operator delete(pending);
        return call(const_cast<void*>(argument));
    }
    const bool answered = WaitForSingleObject(thread, deadlineMs) == WAIT_OBJECT_0;
    CloseHandle(thread);
    const BOOL result = answered ? pending->result : FALSE;
    const DWORD error = answered ? pending->error : ERROR_INTERNET_TIMEOUT;
    pending->Release();
    SetLastError(error);
    return result;
}
