// Built-in settings and the process-wide texts that start-up prepares.
#pragma once

#include <string>
#include <vector>

extern std::string g_dnsTestUrl;                 // the -url option replaces it
extern const std::string g_benchmarkServiceUrl;
extern const std::string g_vendorSiteHost;       // the web site the Internet Access check opens
extern const char* const g_buildDate;           // "Dec 15 2015 11:39:05"
extern const char* const g_customerServiceAddress;
extern const char* const g_welcomeText;

// Texts of at most 255 characters, filled by the printed report's dialog.
extern std::string g_salesAgentName;
extern std::string g_prospectName;

// The address given with the last "-url" option (case-sensitive; a "-url"
// with nothing after it is ignored), or `current` when there is none.
// `arguments` are the program's arguments after its own name.
std::string DnsTestUrlFromArguments(const std::vector<std::string>& arguments, const std::string& current);
