// Stand-in Simple MAPI provider.
//
// Registration: `regsvr32 mail_stand_in.dll` (DllRegisterServer) names it
// the default mail client, "KavloMailStandIn", under HKLM\Software\Clients\Mail
// in both registry views, with DLLPath pointing here; DllUnregisterServer
// removes that again.
//
// Each MAPISendMail call writes, in the output folder:
//   message.txt     every field of the message, one "name=value" per line
//                   ("(null)" for a null pointer), ending with "end"
//   attachment-N    a copy of attachment N (N from 0), as it was at the call
// The output folder is %KAVLO_MAIL_OUT% (a Windows path, or a Unix path that
// is reached through Z:). The answer is %KAVLO_MAIL_RESULT%, else 0.
// With %KAVLO_MAIL_STAY_OPEN% set to 1 the call then shows a window titled
// "Mail Stand-In - New Message", modal to the caller's window as a mail
// client's compose window is, and answers only once that window is closed.
#include <windows.h>
#include <mapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

HMODULE g_module = nullptr;
const char kClientName[] = "KavloMailStandIn";

std::string EnvironmentText(const char* name)
{
    char value[1024] = {};
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof(value));
    return length > 0 && length < sizeof(value) ? std::string(value, length) : std::string();
}

std::string OutputFolder()
{
    std::string folder = EnvironmentText("KAVLO_MAIL_OUT");
    if (!folder.empty() && folder[0] == '/') {
        for (char& c : folder)
            if (c == '/')
                c = '\\';
        folder = "Z:" + folder;
    }
    while (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}


std::string Text(const char* text)
{
    if (!text)
        return "(null)";
    // Line breaks would split a record line; show them as escapes.
    std::string shown;
    for (const char* p = text; *p; ++p) {
        if (*p == '\r')
            shown += "\\r";
        else if (*p == '\n')
            shown += "\\n";
        else if (*p == '\\')
            shown += "\\\\";
        else
            shown += *p;
    }
    return shown;
}

std::string Number(unsigned long long value)
{
    return std::to_string(value);
}

std::string Pointer(const void* pointer)
{
    return pointer ? Number(reinterpret_cast<ULONG_PTR>(pointer)) : "(null)";
}

void Line(std::string& record, const std::string& name, const std::string& value)
{
    record += name + "=" + value + "\n";
}

void DescribeRecipient(std::string& record, const std::string& prefix, const MapiRecipDesc& recipient)
{
    Line(record, prefix + ".reserved", Number(recipient.ulReserved));
    Line(record, prefix + ".recipClass", Number(recipient.ulRecipClass));
    Line(record, prefix + ".name", Text(recipient.lpszName));
    Line(record, prefix + ".address", Text(recipient.lpszAddress));
    Line(record, prefix + ".eidSize", Number(recipient.ulEIDSize));
    Line(record, prefix + ".entryID", Pointer(recipient.lpEntryID));
}

void WriteFileText(const std::string& path, const std::string& text)
{
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
    }
}

void SetClientValues(REGSAM view)
{
    HKEY mail = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Clients\\Mail", 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr,
                        &mail, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(mail, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(kClientName), sizeof(kClientName));
    HKEY client = nullptr;
    if (RegCreateKeyExA(mail, kClientName, 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &client, nullptr) ==
        ERROR_SUCCESS) {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(g_module, path, MAX_PATH);
        RegSetValueExA(client, "DLLPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(path),
                       static_cast<DWORD>(strlen(path) + 1));
        RegCloseKey(client);
    }
    RegCloseKey(mail);
}

void RemoveClientValues(REGSAM view)
{
    HKEY mail = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Clients\\Mail", 0, KEY_ALL_ACCESS | view, &mail) !=
        ERROR_SUCCESS)
        return;
    RegDeleteKeyExA(mail, kClientName, view, 0);
    RegDeleteValueA(mail, nullptr);
    RegCloseKey(mail);
}

LRESULT CALLBACK ComposeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE) {
        DestroyWindow(window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Shows the compose window and waits until it is closed; the caller's own
// windows keep getting their messages meanwhile, as under any modal window.
void StayOpen(HWND owner)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ComposeWindowProc;
    windowClass.hInstance = g_module;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "KavloMailStandInCompose";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "Mail Stand-In - New Message",
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT, 480, 320, owner,
                                  nullptr, g_module, nullptr);
    if (window == nullptr)
        return;
    const bool ownerWasEnabled = owner != nullptr && IsWindowEnabled(owner);
    if (ownerWasEnabled)
        EnableWindow(owner, FALSE);
    MSG message;
    while (IsWindow(window) && GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (ownerWasEnabled)
        EnableWindow(owner, TRUE);
}

} // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        g_module = instance;
    return TRUE;
}

__declspec(dllexport) ULONG WINAPI MAPISendMail(LHANDLE session, ULONG_PTR uiParam, lpMapiMessage message,
                                                FLAGS flags, ULONG reserved)
{
    const std::string folder = OutputFolder();
    std::string record;
    Line(record, "call", "MAPISendMail");
    Line(record, "session", Number(session));
    Line(record, "uiParam", Number(uiParam));
    Line(record, "flags", Number(flags));
    Line(record, "reserved", Number(reserved));
    if (message) {
        Line(record, "message.reserved", Number(message->ulReserved));
        Line(record, "message.subject", Text(message->lpszSubject));
        Line(record, "message.noteText", Text(message->lpszNoteText));
        Line(record, "message.messageType", Text(message->lpszMessageType));
        Line(record, "message.dateReceived", Text(message->lpszDateReceived));
        Line(record, "message.conversationID", Text(message->lpszConversationID));
        Line(record, "message.flags", Number(message->flFlags));
        if (message->lpOriginator)
            DescribeRecipient(record, "originator", *message->lpOriginator);
        else
            Line(record, "originator", "(null)");
        Line(record, "message.recipCount", Number(message->nRecipCount));
        for (ULONG i = 0; i < message->nRecipCount && message->lpRecips; ++i)
            DescribeRecipient(record, "recip" + Number(i), message->lpRecips[i]);
        Line(record, "message.fileCount", Number(message->nFileCount));
        for (ULONG i = 0; i < message->nFileCount && message->lpFiles; ++i) {
            const MapiFileDesc& file = message->lpFiles[i];
            const std::string prefix = "file" + Number(i);
            Line(record, prefix + ".reserved", Number(file.ulReserved));
            Line(record, prefix + ".flags", Number(file.flFlags));
            Line(record, prefix + ".position", Number(file.nPosition));
            Line(record, prefix + ".pathName", Text(file.lpszPathName));
            Line(record, prefix + ".fileName", Text(file.lpszFileName));
            Line(record, prefix + ".fileType", Pointer(file.lpFileType));
            const std::string copy = folder + "\\attachment-" + Number(i);
            const bool copied = file.lpszPathName && CopyFileA(file.lpszPathName, copy.c_str(), FALSE);
            Line(record, prefix + ".copied", copied ? "attachment-" + Number(i) : "no, error " + Number(GetLastError()));
        }
    } else {
        Line(record, "message", "(null)");
    }
    const ULONG result = std::strtoul(EnvironmentText("KAVLO_MAIL_RESULT").c_str(), nullptr, 10);
    Line(record, "result", Number(result));
    record += "end\n";
    WriteFileText(folder + "\\message.txt", record);
    if (EnvironmentText("KAVLO_MAIL_STAY_OPEN") == "1")
        StayOpen(reinterpret_cast<HWND>(uiParam));
    return result;
}

__declspec(dllexport) HRESULT WINAPI DllRegisterServer()
{
    SetClientValues(KEY_WOW64_32KEY);
    SetClientValues(KEY_WOW64_64KEY);
    return S_OK;
}

__declspec(dllexport) HRESULT WINAPI DllUnregisterServer()
{
    RemoveClientValues(KEY_WOW64_32KEY);
    RemoveClientValues(KEY_WOW64_64KEY);
    return S_OK;
}

} // extern "C"
