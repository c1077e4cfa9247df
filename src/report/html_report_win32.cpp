#include "report/html_report.h"

#include "app/app_globals_win32.h"
#include "app/results.h"
#include "app/verdict.h"
#include "report/fingerprint.h"
#include "report/report_timestamp.h"

#include <cstdio>
#include <memory>

void WriteHtmlReport(const char* path)
{
    // Text mode: the file gets CR LF line breaks, as mail clients on Windows expect.
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path, "wt"), &std::fclose);
    if (!file)
        return;

    HtmlReportHeader header;
    header.dateText = FormatHtmlReportDate(CurrentReportTimestamp());
    header.versionText = FormatVersion(64, g_programVersion.productVersion);
    header.fingerprint = SystemFingerprintText(33);
    header.verdictLetter = ComputeOverallVerdict().letter;

    // The run is over when Email is enabled, so the results are read without the lock.
    const std::string html = BuildHtmlReport(header, g_results);
    std::fwrite(html.data(), 1, html.size(), file.get());
}
