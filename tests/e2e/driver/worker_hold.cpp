#include "worker_hold.h"

namespace {

// Lets the target go on after an event. Exceptions go back to the target's
// own handlers (the environment probes of the checks rely on them); the
// attach break is the debugger's own and is swallowed.
void ContinueAfter(const DEBUG_EVENT& event)
{
    DWORD status = DBG_CONTINUE;
    if (event.dwDebugEventCode == CREATE_PROCESS_DEBUG_EVENT && event.u.CreateProcessInfo.hFile != nullptr)
        CloseHandle(event.u.CreateProcessInfo.hFile);
    if (event.dwDebugEventCode == LOAD_DLL_DEBUG_EVENT && event.u.LoadDll.hFile != nullptr)
        CloseHandle(event.u.LoadDll.hFile);
    if (event.dwDebugEventCode == EXCEPTION_DEBUG_EVENT &&
        event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT)
        status = DBG_EXCEPTION_NOT_HANDLED;
    ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
}

} // namespace

WorkerHold::~WorkerHold()
{
    Detach();
    Release();
}

bool WorkerHold::Attach(DWORD processId, DWORD timeoutMs)
{
    processId_ = processId;
    if (!DebugActiveProcess(processId))
        return false;
    attached_ = true;
    // The target must outlive a driver that dies while attached.
    DebugSetProcessKillOnExit(FALSE);
    // The system reports the process, its threads and modules, then breaks
    // into it once; after that break the target runs freely again.
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        DEBUG_EVENT event = {};
        if (!WaitForDebugEvent(&event, 100))
            continue;
        const bool attachBreak = event.dwDebugEventCode == EXCEPTION_DEBUG_EVENT &&
                                 event.u.Exception.ExceptionRecord.ExceptionCode == EXCEPTION_BREAKPOINT;
        const bool ended = event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT;
        ContinueAfter(event);
        if (attachBreak)
            return true;
        if (ended)
            break;
    }
    Detach();
    return false;
}

bool WorkerHold::CatchWorker(const std::function<bool()>& isWorkerStarting, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (attached_ && GetTickCount() - start < timeoutMs) {
        DEBUG_EVENT event = {};
        if (!WaitForDebugEvent(&event, 50))
            continue;
        // While the event is being handled every thread of the target
        // stands still, so the new thread has not run a single instruction.
        if (event.dwDebugEventCode == CREATE_THREAD_DEBUG_EVENT && isWorkerStarting()) {
            worker_.Reset(OpenThread(THREAD_SUSPEND_RESUME | THREAD_QUERY_INFORMATION, FALSE, event.dwThreadId));
            if (worker_ && SuspendThread(worker_.Get()) != static_cast<DWORD>(-1)) {
                suspended_ = true;
                workerId_ = event.dwThreadId;
            } else {
                worker_.Reset();
            }
        }
        const bool ended = event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT;
        ContinueAfter(event);
        if (IsCaught() || ended)
            break;
    }
    Detach();
    return IsCaught();
}

void WorkerHold::Release()
{
    if (worker_ && suspended_) {
        ResumeThread(worker_.Get());
        suspended_ = false;
    }
}

void WorkerHold::Hold()
{
    if (worker_ && !suspended_ && SuspendThread(worker_.Get()) != static_cast<DWORD>(-1))
        suspended_ = true;
}

bool WorkerHold::Step(HANDLE windowThread, DWORD sliceMs)
{
    if (!worker_ || (windowThread != nullptr && SuspendThread(windowThread) == static_cast<DWORD>(-1)))
        return false;
    Release();
    Sleep(sliceMs);
    Hold();
    if (windowThread != nullptr)
        ResumeThread(windowThread);
    return suspended_;
}

void WorkerHold::Detach()
{
    if (!attached_)
        return;
    // Events still queued would keep the target frozen: answer them first.
    DEBUG_EVENT event = {};
    while (WaitForDebugEvent(&event, 0))
        ContinueAfter(event);
    DebugActiveProcessStop(processId_);
    attached_ = false;
}
