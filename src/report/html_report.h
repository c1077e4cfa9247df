// The HTML report that is attached to the e-mail.
#pragma once

#include "app/test_result.h"

#include <string>
#include <vector>

struct HtmlReportHeader {
    TestStatus verdictLetter = 'A';
    std::string dateText;       // ends in a line break
    std::string versionText;
    std::string fingerprint;
};

// The whole file with "\n" line breaks (the file is written in text mode, so
// each becomes CR LF on disk).
std::string BuildHtmlReport(const HtmlReportHeader& header, const std::vector<TestResult>& results);

// "&", "<", ">" and '"' as entities; every other byte unchanged.
std::string EscapeHtml(const std::string& text);

// Gathers the header, reads g_results and puts the whole file at `path`, or
// nothing: false when any step failed, and the file at `path` (if any) is then
// as it was (win32 build).
bool WriteHtmlReport(const char* path);
