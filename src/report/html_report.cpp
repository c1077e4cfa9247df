#include "report/html_report.h"

#include "app/text_format.h"

std::string EscapeHtml(const std::string& text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        default: escaped += c; break;
        }
    }
    return escaped;
}

namespace {

// The status letter as the "%c" conversion writes it: one byte, whatever it is.
std::string LetterText(TestStatus letter)
{
    return std::string(1, letter);
}

} // namespace

std::string BuildHtmlReport(const HtmlReportHeader& header, const std::vector<TestResult>& results)
{
    std::string html;
    html += "<html><head><title>Kavlo Report</title></head>\n";
    html += "<body>\n";
    html += "<center><table width=\"80%\" borders=0 cellpadding=1 cellspacing=1>";
    html += "<tr><td>Final Status</td><td width=40>&nbsp;</td><td>" + LetterText(header.verdictLetter) +
            "</td></tr>\n";
    html += "<tr><td>Report Date</td><td>&nbsp;</td><td>" + EscapeHtml(header.dateText) + "</td></tr>\n";
    html += "<tr><td>Kavlo Version</td><td>&nbsp;</td><td>" + header.versionText + "</td></tr>\n";
    html += "<tr><td>System Finger Print</td><td>&nbsp;</td><td>" + header.fingerprint + "</td></tr>\n";
    html += "</table></center>\n<br><br>\n\n";
    html += "<center><table border=0 cellpadding=1 cellspacing=1><tr>";
    html += "<th width=180>Status</th><th width=120>Test</th><th>Details</th></tr>\n";

    unsigned number = 0;
    for (const TestResult& result : results) {
        ++number;
        html += FormatBounded(64, "<tr bgcolor=\"%s\">", number % 2 == 1 ? "#ffffff" : "#e0ffe0");
        if (result.status == 'A' || result.status == 'I')
            html += FormatBounded(64, "<td>%u: ", number) + LetterText(result.status) + "</td>\n";
        else
            html += FormatBounded(64, "<td><color=\"#ffa0a0\">%u: <b>", number) + LetterText(result.status) +
                    "</b></color></td>\n";
        // The texts come from outside the program (DNS answers, registry
        // values, device names) and the vendor's staff open this file in a
        // browser: they are written as text, never as markup.
        html += "<td>" + EscapeHtml(result.name) + "</td>";
        html += "<td><ul><li>" + EscapeHtml(result.summary) + "</li><li>" + EscapeHtml(result.details) +
                "</li></ul></td>";
        html += "</tr>\n";
    }

    html += "</table></center>\n";
    html += "</body>\n</html>\n\n";
    return html;
}
