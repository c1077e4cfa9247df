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

CallThread* CallThread::Start()
{
    CallThread* thread = new CallThread;
    thread->go_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    thread->done_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE handle = thread->go_ && thread->done_ ? CreateThread(nullptr, 0, Loop, thread, 0, nullptr) : nullptr;
    if (handle == nullptr) {
        delete thread;
        return nullptr;
    }
    CloseHandle(handle);
    return thread;
}

CallThread::~CallThread()
{
    if (go_)
        CloseHandle(go_);
    if (done_)
        CloseHandle(done_);
}

void CallThread::Release()
{
    if (InterlockedDecrement(&shares_) == 0)
        delete this;
}

DWORD WINAPI CallThread::Loop(void* self)
{
    CallThread* thread = static_cast<CallThread*>(self);
    for (;;) {
        WaitForSingleObject(thread->go_, INFINITE);
        if (thread->retired_)
            break;
        PendingCall* call = thread->call_;
        call->RunHere();
        SetEvent(thread->done_);
        call->Release();
    }
    thread->Release();
    return 0;
}

bool CallThread::Run(PendingCall* call, DWORD deadlineMs, HANDLE cancelEvent)
{
    InterlockedIncrement(&call->shares_);  // the thread's
    call_ = call;
    SetEvent(go_);
    const HANDLE waits[] = {done_, cancelEvent};
    // The call comes first: one that has returned counts, Cancel or not.
    const DWORD waited = WaitForMultipleObjects(cancelEvent ? 2 : 1, waits, FALSE, deadlineMs);
    return waited == WAIT_OBJECT_0;
}

void CallThread::Retire()
{
    InterlockedExchange(&retired_, 1);
    SetEvent(go_);
    Release();
}

bool RunWithDeadline(CallThread*& thread, PendingCall* call, DWORD deadlineMs, HANDLE cancelEvent)
{
    if (thread == nullptr)
        thread = CallThread::Start();
    if (thread == nullptr) {
        call->RunHere();
        return true;
    }
    if (thread->Run(call, deadlineMs, cancelEvent))
        return true;
    thread->Retire();
    thread = nullptr;
    return false;
}
