#include "report/email_message.h"

#include "app/text_format.h"

const char* const kEmailErrorCaption = "Email Error";

ReportMail MakeReportMail(const std::string& attachmentPath, const std::string& customerServiceAddress)
{
    ReportMail mail;
    mail.subject = "Kavlo Report";
    mail.recipientName = "Dunbrook Customer Service";
    mail.recipientAddress = "SMTP:" + customerServiceAddress;
    mail.attachmentPath = attachmentPath;
    // MAPI_LOGON_UI (1) | MAPI_DIALOG (8): the user sees and sends the message.
    mail.flags = 9;
    return mail;
}

std::optional<std::string> EmailErrorText(unsigned long result)
{
    // SUCCESS_SUCCESS and MAPI_USER_ABORT are the user's own choices.
    if (result <= 1)
        return std::nullopt;
    return FormatBounded(2048, "Email creation failed with error code %d.  The email messsage was not sent.",
                         static_cast<int>(result));
}
