#include "checks/network/call_deadline_win32.h"

#include <wininet.h>

void PendingCall::RunHere()
{
    result = Call();
    error = ::GetLastError();
    responseLength = sizeof(responseText);
    if (!InternetGetLastResponseInfoA(&responseError, responseText, &responseLength)) {
        responseError = 0;
        responseLength = 0;
        responseText[0] = '\0';
    }
    ::SetLastError(error);
}

DWORD WINAPI PendingCall::RunOnOwnThread(void* record)
{
    PendingCall* call = static_cast<PendingCall*>(record);
    call->RunHere();
    call->Release();
    return 0;
}

void PendingCall::CloseAfterCall(void* internetHandle)
{
    if (internetHandle != nullptr && closeCount_ < static_cast<int>(sizeof(toClose_) / sizeof(toClose_[0])))
        toClose_[closeCount_++] = internetHandle;
}

void PendingCall::Release()
{
    if (InterlockedDecrement(&shares_) != 0)
        return;
    for (int i = 0; i < closeCount_; ++i)
        InternetCloseHandle(toClose_[i]);
    delete this;
}

bool PendingCall::RunAndWait(DWORD deadlineMs, HANDLE cancelEvent)
{
    InterlockedIncrement(&shares_);  // the thread's
    HANDLE thread = CreateThread(nullptr, 0, RunOnOwnThread, this, 0, nullptr);
    if (thread == nullptr) {
        InterlockedDecrement(&shares_);
        RunHere();
        return true;
    }
    const HANDLE waits[] = {thread, cancelEvent};
    // The thread comes first: a call that has returned counts, Cancel or not.
    const DWORD waited = WaitForMultipleObjects(cancelEvent ? 2 : 1, waits, FALSE, deadlineMs);
    CloseHandle(thread);
    return waited == WAIT_OBJECT_0;
}
