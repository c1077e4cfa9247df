// Every check of the test table. Each fills the record it is given and never throws.
#pragma once

#include "app/test_result.h"

void CheckOperatingSystem(TestResult& result);
void CheckDiskSpace(TestResult& result);
void CheckMemory(TestResult& result);
void CheckIeVersion(TestResult& result);
void CheckDiskSpeed(TestResult& result);
void CheckInternetAccess(TestResult& result);
void CheckNetworkSpeed(TestResult& result);
void CheckDnsLookup(TestResult& result);
void CheckHostEnvironment(TestResult& result);
void CheckScreenResolution(TestResult& result);
void CheckCpu(TestResult& result);
void CheckLocalAdmin(TestResult& result);
void CheckDomainMembership(TestResult& result);
void CheckDefaultWebBrowser(TestResult& result);
void CheckUsb20(TestResult& result);
void CheckSecureScreenSaver(TestResult& result);
void CheckWindowsAutoUpdate(TestResult& result);
void CheckPublicIpAddress(TestResult& result);
