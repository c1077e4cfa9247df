// The HTML report over texts from outside the program (the time-zone name in
// the date, check names, summaries, details): none of their '<' reaches the
// file as markup. The report made from the texts has exactly as many '<' as
// the one made from the same texts with every '<' replaced.
// Input: the date line, then per row a byte of status and three lines.
#include "report/html_report.h"
#include "fuzz.h"

#include <vector>

namespace {

std::string WithoutMarkup(std::string text)
{
    std::replace(text.begin(), text.end(), '<', 'x');
    return text;
}

size_t Count(const std::string& text, char c)
{
    return std::count(text.begin(), text.end(), c);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    HtmlReportHeader header, plainHeader;
    header.dateText = in.Line().substr(0, 62) + "\n";
    header.versionText = "1.0.0.0";
    header.fingerprint = "c770d06b0515b4d207e6b1488491d8bb";
    plainHeader = header;
    plainHeader.dateText = WithoutMarkup(header.dateText);
    std::vector<TestResult> results, plainResults;
    while (!in.AtEnd() && results.size() < 18) {
        TestResult result;
        result.status = "AFI"[in.Byte() % 3];
        result.name = in.Line();
        result.summary = in.Line();
        result.details = in.Line();
        results.push_back(result);
        result.name = WithoutMarkup(result.name);
        result.summary = WithoutMarkup(result.summary);
        result.details = WithoutMarkup(result.details);
        plainResults.push_back(result);
    }
    const std::string html = BuildHtmlReport(header, results);
    FUZZ_CHECK(Count(html, '<') == Count(BuildHtmlReport(plainHeader, plainResults), '<'));

    for (const TestResult& result : results) {
        const std::string escaped = EscapeHtml(result.details);
        FUZZ_CHECK(escaped.find_first_of("<>\"") == std::string::npos);
        FUZZ_CHECK(Count(escaped, '&') == Count(result.details, '&') + Count(result.details, '<') +
                                             Count(result.details, '>') + Count(result.details, '"'));
    }
    return 0;
}
