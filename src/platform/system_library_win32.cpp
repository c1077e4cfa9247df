#include "platform/system_library_win32.h"

#include "platform/scoped_win32.h"

#include <delayimp.h>

#include <string>

namespace {

using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryAFn = BOOL(WINAPI*)(LPCSTR);

HMODULE Kernel32() { return GetModuleHandleA("kernel32.dll"); }

// Windows 8 and later, and Windows 7 with KB2533623, know LoadLibraryEx's
// search flags; SetDefaultDllDirectories came with them.
bool SearchFlagsKnown()
{
    return LookUpProc<SetDefaultDllDirectoriesFn>(Kernel32(), "SetDefaultDllDirectories") != nullptr;
}

// The common controls, version 6, come from the side-by-side store that the
// manifest names; a path into the system folder would give version 5.
bool RedirectedBySideBySide(const char* name)
{
    ACTCTX_SECTION_KEYED_DATA data = {};
    data.cbSize = sizeof(data);
    return FindActCtxSectionStringA(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, name, &data) != FALSE;
}

// The delay-load helper asks here before it loads one of the delay-loaded
// imports (CMakeLists.txt); it would search the program's folder itself.
FARPROC WINAPI BeforeDelayLoad(unsigned notification, PDelayLoadInfo info)
{
    if (notification == dliNotePreLoadLibrary)
        return reinterpret_cast<FARPROC>(LoadSystemLibrary(info->szDll));
    return nullptr;
}

} // namespace

PfnDliHook __pfnDliNotifyHook2 = BeforeDelayLoad;

void RestrictDllSearchToSystemFolder()
{
    if (const auto setDefault = LookUpProc<SetDefaultDllDirectoriesFn>(Kernel32(), "SetDefaultDllDirectories")) {
        setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
        return;
    }
    // Older systems search the program's folder first whatever is done; the
    // current folder at least goes.
    if (const auto setDllDirectory = LookUpProc<SetDllDirectoryAFn>(Kernel32(), "SetDllDirectoryA"))
        setDllDirectory("");
}

HMODULE LoadSystemLibrary(const char* name)
{
    if (SearchFlagsKnown())
        return LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (RedirectedBySideBySide(name))
        return LoadLibraryA(name);
    char folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    // By its full path, and the DLL's own imports from its folder as well.
    return LoadLibraryExA((std::string(folder) + "\\" + name).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
