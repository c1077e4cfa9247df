// Internet Access: one HTTPS GET of the vendor site's root page.
#pragma once

#include "app/test_result.h"
#include "checks/network/wininet_calls.h"

#include <cstdint>
#include <string>

struct InternetAccessFacts {
    const char* failedStep = nullptr;  // label of the step that failed, or null
    uint32_t errorNumber = 0;          // that step's error number, 0 when none failed
    uint32_t httpStatus = 0;           // the site's status code, 0 until known
    bool hasErrorText = false;         // the system has a message for errorNumber
    std::string errorText;
};

// "https://<vendor host>/", shown in the summaries.
std::string SiteRootUrl();

// The exchange with the site, step by step; fills everything but the error text.
InternetAccessFacts RunInternetAccess(WinInetCalls& net, const std::string& siteHost);

// Writes the letter and texts, and sets g_internetReachable.
void GradeInternetAccess(const InternetAccessFacts& facts, TestResult& result);

void CheckInternetAccess(TestResult& result);
