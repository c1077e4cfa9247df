// A blocking call that must not outlast a deadline, whatever the system does.
//
// Some WinINet builds wait without end during the TLS handshake with a host
// that accepts the connection and then says nothing: no time-out applies
// there, and closing the handle from another thread does not end the wait.
// Such a call runs on a thread of its own; when it has not returned by the
// deadline, the caller goes on as if the call had failed with
// ERROR_INTERNET_TIMEOUT, and the thread is left to end with the process.
#pragma once

#include <windows.h>

// The call reads only its argument, which it receives as a heap copy of its
// own: that copy stays valid however long an abandoned call runs.
using DeadlineCall = BOOL (*)(void* argument);

// Runs call(argument) with argumentSize bytes of argument copied to the
// heap; gives its result and sets the calling thread's last error to the
// call's own. After deadlineMs without an answer: FALSE, last error
// ERROR_INTERNET_TIMEOUT. When no thread can be started, runs the call here.
BOOL RunWithDeadline(DeadlineCall call, const void* argument, size_t argumentSize, DWORD deadlineMs);

// Windows' own limits for opening a connection and then one answer from the
// host (connect 60 s, receive 30 s): a request that has not been sent by
// then would already have failed on Windows.
constexpr DWORD kSendRequestDeadlineMs = 90000;
