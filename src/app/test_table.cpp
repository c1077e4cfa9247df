#include "app/test_table.h"

#include "checks/check_functions.h"

const TestEntry g_testTable[] = {
    {1, CheckOperatingSystem, "Operating System"},
    {1, CheckDiskSpace, "Disk Space"},
    {1, CheckMemory, "Memory"},
    {1, CheckIeVersion, "IE Version"},
    {1, CheckDiskSpeed, "Disk Speed"},
    {1, CheckInternetAccess, "Internet Access"},
    {1, CheckNetworkSpeed, "Network Speed"},
    {1, CheckDnsLookup, "DNS Lookup"},
    {1, CheckHostEnvironment, "Host Environment"},
    {1, CheckScreenResolution, "Screen Resolution"},
    {1, CheckCpu, "CPU"},
    {0, CheckLocalAdmin, "Local Admin"},
    {0, CheckDomainMembership, "Domain Membership"},
    {0, CheckDefaultWebBrowser, "Default Web Browser"},
    {1, CheckUsb20, "USB 2.0"},
    {0, CheckSecureScreenSaver, "Secure Screen Saver"},
    {0, CheckWindowsAutoUpdate, "Windows Auto Update"},
    {1, CheckPublicIpAddress, "Public IP Address"},
    {0, nullptr, nullptr},
};

size_t CountTestTableRows(const TestEntry* table)
{
    size_t count = 0;
    while (table[count].check != nullptr)
        ++count;
    return count;
}

TestResult MakeFreshResult(const TestEntry& entry)
{
    TestResult result;
    result.entry = &entry;
    result.status = 'F';
    result.name = entry.name ? entry.name : "";
    return result;
}
