#include "report/html_report.h"

#include <gtest/gtest.h>

namespace {

const HtmlReportHeader kHeader = {'F', "2024-07-01 09:05:03 EDT\n", "1.0.0.0", "c770d06b0515b4d207e6b1488491d8bb"};

} // namespace

TEST(HtmlReport_Structure, ZeroToThreeRowsWithAFailedOne)
{
    const std::vector<TestResult> results = {{nullptr, 'A', "Memory", "2048 MB", "At least 1024 MB."},
                                             {nullptr, 'F', "USB 2.0", "None", ""},
                                             {nullptr, 'I', "CPU", "x86", "line one\nline two"}};
    const std::string rows[] = {
        "<tr bgcolor=\"#ffffff\"><td>1: A</td>\n<td>Memory</td><td><ul><li>2048 MB</li><li>At least 1024 MB.</li>"
        "</ul></td></tr>\n",
        "<tr bgcolor=\"#e0ffe0\"><td><color=\"#ffa0a0\">2: <b>F</b></color></td>\n<td>USB 2.0</td>"
        "<td><ul><li>None</li><li></li></ul></td></tr>\n",
        "<tr bgcolor=\"#ffffff\"><td>3: I</td>\n<td>CPU</td><td><ul><li>x86</li><li>line one\nline two</li>"
        "</ul></td></tr>\n"};
    std::string expected =
        "<html><head><title>Kavlo Report</title></head>\n<body>\n"
        "<center><table width=\"80%\" borders=0 cellpadding=1 cellspacing=1>"
        "<tr><td>Final Status</td><td width=40>&nbsp;</td><td>F</td></tr>\n"
        "<tr><td>Report Date</td><td>&nbsp;</td><td>2024-07-01 09:05:03 EDT\n</td></tr>\n"
        "<tr><td>Kavlo Version</td><td>&nbsp;</td><td>1.0.0.0</td></tr>\n"
        "<tr><td>System Finger Print</td><td>&nbsp;</td><td>c770d06b0515b4d207e6b1488491d8bb</td></tr>\n"
        "</table></center>\n<br><br>\n\n<center><table border=0 cellpadding=1 cellspacing=1><tr>"
        "<th width=180>Status</th><th width=120>Test</th><th>Details</th></tr>\n";
    for (size_t count = 0; count <= 3; ++count) {
        EXPECT_EQ(BuildHtmlReport(kHeader, std::vector<TestResult>(results.begin(), results.begin() + count)),
                  expected + "</table></center>\n</body>\n</html>\n\n")
            << count << " rows";
        expected += count < 3 ? rows[count] : "";
    }
}

// Names and texts come from outside the program; the report must show them, never run them.
TEST(HtmlReport_Escaping, OutsideTextsAreWrittenAsText)
{
    const std::string html = BuildHtmlReport(
        kHeader, {{nullptr, 'I', "Default <Web> Browser", "\"Fire & Fox\" <script>", "a&amp;b\r\n'x'\t\x80\xff"}});
    EXPECT_NE(html.find("<td>Default &lt;Web&gt; Browser</td><td><ul><li>&quot;Fire &amp; Fox&quot; &lt;script&gt;</li>"
                        "<li>a&amp;amp;b\r\n'x'\t\x80\xff</li></ul></td>"),
              std::string::npos)
        << html;
}
