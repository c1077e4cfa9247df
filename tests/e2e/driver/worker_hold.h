// Holds kavlo's worker thread still, so that a screenshot of the running
// progress dialog or a close in the middle of the run does not depend on how
// fast the checks happen to be.
//
// The driver attaches to kavlo as a debugger just before it presses OK in the
// welcome dialog, takes the first thread that starts while the progress
// dialog is showing (the worker: the main window creates that dialog and then
// starts its one thread), suspends it before its first instruction and
// detaches again. From then on Release and Hold resume and suspend it.
#pragma once

#include <windows.h>

#include <functional>

#include "platform/scoped_win32.h"

class WorkerHold {
public:
    ~WorkerHold();

    // Attaches to the process and lets it run on; false when the system
    // refuses to debug it.
    bool Attach(DWORD processId, DWORD timeoutMs);
    // Waits for the worker's start (the first thread that starts while
    // isWorkerStarting() answers true), suspends it and detaches. False when
    // no such thread started within the time-out; detached in either case.
    bool CatchWorker(const std::function<bool()>& isWorkerStarting, DWORD timeoutMs);

    bool IsCaught() const { return static_cast<bool>(worker_); }
    DWORD WorkerId() const { return workerId_; }
    void Release();
    void Hold();
    // One step of the held worker: the window thread is stopped, the worker
    // runs for at most sliceMs and is held again, then the window thread goes
    // on. Every label, bar step and row the worker shows is a message it sends
    // to the window thread and waits for, so within a step it gets no further
    // than the next one, which the window thread handles once it goes on.
    // With no window thread (null), the worker alone runs for the slice.
    bool Step(HANDLE windowThread, DWORD sliceMs);

private:
    void Detach();

    DWORD processId_ = 0;
    bool attached_ = false;
    bool suspended_ = false;
    DWORD workerId_ = 0;
    ScopedHandle worker_;
};
