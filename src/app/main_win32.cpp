// Kavlo's entry point.
#include "app/app_globals_win32.h"
#include "app/main_window_win32.h"
#include "app/settings.h"
#include "app/logo_win32.h"
#include "app/test_runner_win32.h"
#include "app/welcome_dialog_win32.h"
#include "platform/scoped_win32.h"
#include "platform/system_library_win32.h"
#include "resource_ids.h"

#include <commctrl.h>
#include <wininet.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

void RaiseWinInetConnectionLimits()
{
    DWORD limit = 100;
    InternetSetOptionA(nullptr, INTERNET_OPTION_MAX_CONNS_PER_SERVER, &limit, sizeof(limit));
    InternetSetOptionA(nullptr, INTERNET_OPTION_MAX_CONNS_PER_1_0_SERVER, &limit, sizeof(limit));
}

std::vector<std::string> ProgramArguments()
{
    std::vector<std::string> arguments;
    for (int i = 1; i < __argc; ++i)
        arguments.emplace_back(__argv[i] ? __argv[i] : "");
    return arguments;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    RestrictDllSearchToSystemFolder();
    g_hInstance = instance;
    // Owned here for the life of the program; the globals only lend them out.
    const ScopedHandle cancelEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    g_cancelEvent = cancelEvent.Get();
    // The "RICHEDIT" class of the dialogs; kept for the process's life.
    LoadSystemLibrary("riched32.dll");
    InitCommonControls();
    const ScopedGdiObject logoBitmap(LoadImageResource(GetModuleHandleA(nullptr), IDR_LOGO_JPEG, "JPEG"));
    g_logoBitmap = static_cast<HBITMAP>(logoBitmap.Get());
    g_salesAgentName.clear();
    g_prospectName.clear();

    if (!g_programVersion.loaded) {
        MessageBoxA(nullptr, "Internal Error:  Unable to read internal version information.", "Internal Error",
                    MB_ICONHAND | MB_SYSTEMMODAL);
        ExitProcess(static_cast<UINT>(-1));
    }

    RaiseWinInetConnectionLimits();
    g_dnsTestUrl = DnsTestUrlFromArguments(ProgramArguments(), g_dnsTestUrl);

    // Only OK is consent; a welcome dialog that could not be shown (-1) is not.
    if (DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_WELCOME), nullptr, LegalDialogProc, 0) == 1)
        DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc, 0);

    // Every close of the main window ends the program at once; its loop ends
    // by itself only on a quit message. Should the run still be going then,
    // the worker may be inside a check (a WinINet call, a write) that uses the
    // cancel event, the settings or a runtime lock. The process ends here, at
    // once: no static destructor and no library's detach code runs under the
    // worker's feet, and nothing can wait on it.
    if (AbandonTestRun())
        TerminateProcess(GetCurrentProcess(), 0);
    g_cancelEvent = nullptr;
    g_logoBitmap = nullptr;
    return 0;
}
