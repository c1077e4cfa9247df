// A blocking WinINet call that must not outlast a deadline or a Cancel,
// whatever the system does.
//
// Some WinINet builds wait without end during the TLS handshake with a host
// that accepts the connection and then says nothing, and a host that sends a
// byte just within each receive time-out keeps a read going for ever; closing
// the handle from another thread does not end such a wait, and Windows
// forbids closing a handle while a call on it runs. So the call runs on a
// thread other than the caller's. When it has not returned by the deadline, or Cancel is
// pressed, the caller stops waiting and goes on as if it had failed; the
// call keeps everything it reads and writes in its own record, and the
// handles it was made on are handed to it, to be closed once it returns (or
// left to the end of the process if it never does).
#pragma once

#include <windows.h>

class PendingCall {
public:
    PendingCall() = default;
    PendingCall(const PendingCall&) = delete;
    PendingCall& operator=(const PendingCall&) = delete;

    // On the call's thread: the call itself, taking its arguments from the
    // record and leaving its outputs there.
    virtual BOOL Call() = 0;

    // Filled on the call's thread when it returns: the call's result and last
    // error, and WinINet's last response information, which Windows keeps
    // per thread.
    BOOL result = FALSE;
    DWORD error = 0;
    DWORD responseError = 0;
    DWORD responseLength = 0;
    char responseText[2048] = {};

    // A WinINet handle to close once the call is surely over, when the last
    // share of the record goes (the caller's, or the thread's when the call
    // returns after the caller gave up). Only the caller adds them, before
    // its Release. At most four.
    void CloseAfterCall(void* internetHandle);
    // Gives up the caller's share; the last share to go closes the handles
    // and deletes the record.
    void Release();
    // Call, then its last error and this thread's response information.
    void RunHere();

protected:
    virtual ~PendingCall() = default;

private:
    friend class CallThread;  // takes a share for the thread
    LONG shares_ = 1;
    void* toClose_[4] = {};
    int closeCount_ = 0;
};

// The thread the calls are made on, one after another: a thread per call
// would cost more than a block of the upload takes to send. Shared by its
// owner and the thread itself; whichever lets go last frees it.
class CallThread {
public:
    // Null when no thread can be started.
    static CallThread* Start();
    // Makes the call on the thread and waits for it at most deadlineMs, and
    // only until cancelEvent is set when there is one. True when the call
    // returned in that time (its results are then in the record). False when
    // the caller stopped waiting: the call is abandoned and goes on alone,
    // and this thread takes no more calls. The caller keeps its share of the
    // record either way.
    bool Run(PendingCall* call, DWORD deadlineMs, HANDLE cancelEvent);
    // The owner lets go: the thread ends once it is idle.
    void Retire();

private:
    CallThread() = default;
    ~CallThread();
    static DWORD WINAPI Loop(void* self);
    void Release();

    LONG shares_ = 2;
    HANDLE go_ = nullptr;    // auto-reset: a call (or the end) is waiting
    HANDLE done_ = nullptr;  // auto-reset: the call has returned
    PendingCall* call_ = nullptr;
    volatile LONG retired_ = 0;
};

// Runs the call on a thread of the caller's (started when `thread` is null,
// or inline when none can be started); see CallThread::Run.
bool RunWithDeadline(CallThread*& thread, PendingCall* call, DWORD deadlineMs, HANDLE cancelEvent);
