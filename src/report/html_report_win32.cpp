#include "report/html_report.h"

#include "app/app_globals_win32.h"
#include "app/results.h"
#include "app/verdict.h"
#include "report/fingerprint.h"
#include "report/report_timestamp.h"

#include <shlwapi.h>

#include <cstdio>
#include <io.h>

namespace {

// Writes the whole report into `path`, through to the disk; false when any
// step fails (a full disk often shows only when the file is flushed or closed).
bool WriteReportFile(const char* path)
{
    // Text mode: the file gets CR LF line breaks, as mail clients on Windows expect.
    FILE* file = std::fopen(path, "wt");
    if (file == nullptr)
        return false;

    HtmlReportHeader header;
    header.dateText = FormatHtmlReportDate(CurrentReportTimestamp());
    header.versionText = FormatVersion(64, g_programVersion.productVersion);
    header.fingerprint = SystemFingerprintText(33);
    header.verdictLetter = ComputeOverallVerdict().letter;

    // The run is over when Email is enabled, so the results are read without the lock.
    const std::string html = BuildHtmlReport(header, g_results);
    const bool written = std::fwrite(html.data(), 1, html.size(), file) == html.size() && std::fflush(file) == 0 &&
                         _commit(_fileno(file)) == 0;
    return std::fclose(file) == 0 && written;
}

} // namespace

bool WriteHtmlReport(const char* path)
{
    // The report is written beside its place under a name of its own and moved
    // there only when it is whole: a failed write leaves no partial report in
    // its place, and an older report is never taken for this one.
    char folder[MAX_PATH] = {};
    char partial[MAX_PATH] = {};
    if (lstrlenA(path) >= MAX_PATH)
        return false;
    lstrcpynA(folder, path, MAX_PATH);
    if (!PathRemoveFileSpecA(folder) || GetTempFileNameA(folder, "kav", 0, partial) == 0)
        return false;
    const bool written =
        WriteReportFile(partial) && MoveFileExA(partial, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!written)
        DeleteFileA(partial);
    return written;
}
