// The end of the program when the user closes it or the session ends.
#pragma once

// From the user-interface thread, at any moment (a check running, a box or
// dialog open): nothing more is shown, the files the running check has made
// are removed, and the process ends with exit code 0. Never returns.
[[noreturn]] void EndProgramNow();
