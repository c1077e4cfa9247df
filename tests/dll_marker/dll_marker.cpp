// Loaded into a process, it leaves "<its own path>.loaded" and exports
// nothing: whoever took it in place of a Windows DLL is found out.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID)
{
    char path[MAX_PATH + 16] = {};
    if (reason == DLL_PROCESS_ATTACH && GetModuleFileNameA(self, path, MAX_PATH) != 0)
        CloseHandle(CreateFileA(lstrcatA(path, ".loaded"), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    return TRUE;
}
