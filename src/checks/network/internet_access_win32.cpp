#include "checks/network/internet_access.h"

#include "app/error_text_win32.h"
#include "app/settings.h"
#include "checks/network/wininet_calls_win32.h"

void CheckInternetAccess(TestResult& result)
{
    WinInetApi net;
    InternetAccessFacts facts = RunInternetAccess(net, g_vendorSiteHost);
    if (facts.failedStep != nullptr || facts.errorNumber != 0)
        facts.hasErrorText = FormatErrorText(facts.errorNumber, facts.errorText);
    GradeInternetAccess(facts, result);
}
