#include "app/settings.h"

#include "build_settings.h"

std::string g_dnsTestUrl = "https://" KAVLO_VENDOR_HOST "/";
const std::string g_benchmarkServiceUrl = "https://" KAVLO_VENDOR_HOST "/KavloBenchmarkService";
const std::string g_vendorSiteHost = KAVLO_VENDOR_HOST;
const char* const g_buildDate = KAVLO_BUILD_DATE;
const char* const g_customerServiceAddress = KAVLO_SUPPORT_EMAIL;

std::string g_salesAgentName;
std::string g_prospectName;

const char* const g_welcomeText =
    "Welcome to Kavlo, a tool developed by Velmora Financial Services, Inc., for evaluating the compatibility "
    "of your computer system with the Velmora Deposit software. To evaluate compatibility, Kavlo will test "
    "your system parameters (cpu, disk, memory, Internet, etc...) against Velmora's list of minimum system "
    "requirements.  Kavlo will benchmark your internet performance by sending a small amount of synthesized "
    "data to an Velmora server.  This data is randomly generated and contains no real information.  No other "
    "information is shared with anyone."
    "\n\n"
    "When the tests are complete, your system will be 'Approved' or 'Failed'. If you are approved,then your "
    "system is ready to run the Velmora Deposit software. If you are failed,then  your system is not capable "
    "of running the Velmora Deposit software. Areas which are approved will be denoted with an 'A', while "
    "areas which have failed will be denoted with an 'F'. There are also informational specs which can be "
    "used for troubleshooting. These are denoted with an 'I'.  "
    "\n\n"
    "By proceeding, you acknowledge this capability and expressly authorize the Kavlo tool to proceed for the "
    "limited purpose of evaluating the compatibility of your computer system with the Velmora Deposit "
    "software."
    "\n";

std::string DnsTestUrlFromArguments(const std::vector<std::string>& arguments, const std::string& current)
{
    std::string url = current;
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "-url" && i + 1 < arguments.size()) {
            url = arguments[i + 1];
            ++i;
        }
    }
    return url;
}
