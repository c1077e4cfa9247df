#include "checks/accounts/local_admin.h"

#include "app/text_format.h"

void GradeLocalAdmin(const LocalAdminFacts& facts, TestResult& result)
{
    const char* format = facts.isLocalAdmin ? "User '%s' is local admin" : "User '%s' is not a local admin";
    result.summary = FormatBounded(256, format, facts.userName.c_str());
    result.details = "Administrative rights are required to install the software, but not required to run the software.";
    result.status = 'I';
}
