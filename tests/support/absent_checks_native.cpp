// The native build has no checks (they are Windows code); the unit tests
// still link the test table, so its rows point at these empty stand-ins.
#include "checks/check_functions.h"

void CheckOperatingSystem(TestResult&) {}
void CheckDiskSpace(TestResult&) {}
void CheckMemory(TestResult&) {}
void CheckIeVersion(TestResult&) {}
void CheckDiskSpeed(TestResult&) {}
void CheckInternetAccess(TestResult&) {}
void CheckNetworkSpeed(TestResult&) {}
void CheckDnsLookup(TestResult&) {}
void CheckHostEnvironment(TestResult&) {}
void CheckScreenResolution(TestResult&) {}
void CheckCpu(TestResult&) {}
void CheckLocalAdmin(TestResult&) {}
void CheckDomainMembership(TestResult&) {}
void CheckDefaultWebBrowser(TestResult&) {}
void CheckUsb20(TestResult&) {}
void CheckSecureScreenSaver(TestResult&) {}
void CheckWindowsAutoUpdate(TestResult&) {}
void CheckPublicIpAddress(TestResult&) {}
