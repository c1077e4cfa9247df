// Windows' own DLLs, taken from the system folder and never from the
// program's folder (a Downloads folder, where any web page may save a DLL).
#pragma once

#include <windows.h>

// Leaves the program's folder and the current folder out of every later
// search for a DLL by name in this process. The program calls it first.
void RestrictDllSearchToSystemFolder();

// Loads a DLL of Windows by its file name ("uxtheme.dll") from the system
// folder; null when the system has none. The caller owns the module.
HMODULE LoadSystemLibrary(const char* name);
