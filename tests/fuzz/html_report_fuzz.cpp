// The HTML report over texts from outside the program (the time-zone name in
// the date, check names, summaries, details): none of their '<' reaches the
// file as markup, so the report has as many '<' as one made from the same
// texts with every '<' replaced.
#include "report/html_report.h"
#include "fuzz.h"

static std::string Plain(std::string text) { return std::replace(text.begin(), text.end(), '<', 'x'), text; }

FUZZ(in)
{
    HtmlReportHeader header{'A', in.ConsumeRandomLengthString(62) + "\n", "1.0.0.0", "c770d06b0515b4d207e6b1488491d8bb"};
    HtmlReportHeader plainHeader{'A', Plain(header.dateText), header.versionText, header.fingerprint};
    std::vector<TestResult> results, plainResults;
    while (in.remaining_bytes() > 0 && results.size() < 18) {
        TestResult& result = results.emplace_back();
        result.status = "AFI"[in.ConsumeIntegralInRange(0, 2)];
        for (std::string* text : {&result.name, &result.summary, &result.details})
            *text = in.ConsumeRandomLengthString(600);
        plainResults.push_back({nullptr, result.status, Plain(result.name), Plain(result.summary), Plain(result.details)});
    }
    const std::string html = BuildHtmlReport(header, results), plain = BuildHtmlReport(plainHeader, plainResults);
    assert(std::count(html.begin(), html.end(), '<') == std::count(plain.begin(), plain.end(), '<'));
}
