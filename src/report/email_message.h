// What the e-mail to customer service carries, and how its result is told.
#pragma once

#include <optional>
#include <string>

struct ReportMail {
    std::string subject;
    std::string recipientName;
    std::string recipientAddress;   // "SMTP:" and the address
    std::string attachmentPath;
    unsigned long flags = 0;        // MAPI_LOGON_UI | MAPI_DIALOG
};

// The message for the report file at `attachmentPath`.
ReportMail MakeReportMail(const std::string& attachmentPath, const std::string& customerServiceAddress);

// The error box text for a Simple MAPI result; none for success (0) and for
// the user discarding the message (1).
std::optional<std::string> EmailErrorText(unsigned long result);

extern const char* const kEmailErrorCaption;
