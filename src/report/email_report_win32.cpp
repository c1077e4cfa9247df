#include "report/report_commands_win32.h"

#include "app/settings.h"
#include "platform/scoped_win32.h"
#include "platform/system_library_win32.h"
#include "report/email_message.h"
#include "report/html_report.h"

#include <mapi.h>
#include <shlwapi.h>

#include <vector>

namespace {

// The "Email Error" box for a Simple MAPI code that has one.
void ShowEmailError(HWND owner, ULONG code)
{
    if (const auto text = EmailErrorText(code))
        MessageBoxA(owner, text->c_str(), kEmailErrorCaption, MB_OK);
}

} // namespace

void EmailReport(HWND owner)
{
    // Simple MAPI is bound by name: a computer without a mail client has no
    // mapi32.dll, and then the button does nothing.
    ScopedLibrary mapi(LoadSystemLibrary("mapi32.dll"));
    if (!mapi)
        return;
    const auto sendMail = LookUpProc<LPMAPISENDMAIL>(mapi.Get(), "MAPISendMail");
    if (!sendMail)
        return;

    // The report goes into the temporary folder or nowhere: without that
    // folder, or when the report cannot be written whole, nothing is sent,
    // and the user is told with Simple MAPI's own code for an attachment that
    // could not be written.
    char path[MAX_PATH] = {};
    const DWORD folderLength = GetTempPathA(MAX_PATH, path);
    if (folderLength == 0 || folderLength >= MAX_PATH || !PathAppendA(path, "KavloReport.html") ||
        !WriteHtmlReport(path)) {
        ShowEmailError(owner, MAPI_E_ATTACHMENT_WRITE_FAILURE);
        return;
    }

    ReportMail mail = MakeReportMail(path, g_customerServiceAddress);
    // Simple MAPI takes non-constant texts; these copies live for the call.
    std::vector<char> subject(mail.subject.begin(), mail.subject.end());
    std::vector<char> recipientName(mail.recipientName.begin(), mail.recipientName.end());
    std::vector<char> recipientAddress(mail.recipientAddress.begin(), mail.recipientAddress.end());
    std::vector<char> attachmentPath(mail.attachmentPath.begin(), mail.attachmentPath.end());
    for (auto* text : {&subject, &recipientName, &recipientAddress, &attachmentPath})
        text->push_back('\0');

    MapiRecipDesc recipient = {};
    recipient.ulRecipClass = MAPI_TO;
    recipient.lpszName = recipientName.data();
    recipient.lpszAddress = recipientAddress.data();

    MapiFileDesc attachment = {};
    attachment.nPosition = static_cast<ULONG>(-1);  // not placed inside the body text
    attachment.lpszPathName = attachmentPath.data();

    MapiMessage message = {};
    message.lpszSubject = subject.data();
    message.nRecipCount = 1;
    message.lpRecips = &recipient;
    message.nFileCount = 1;
    message.lpFiles = &attachment;

    const ULONG result = sendMail(0, reinterpret_cast<ULONG_PTR>(owner), &message, mail.flags, 0);
    ShowEmailError(owner, result);
}
