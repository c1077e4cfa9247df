#include "report/email_message.h"
#include "report/html_report.h"

#include <gtest/gtest.h>

namespace {

const char kHeader[] =
    "<html><head><title>Kavlo Report</title></head>\n"
    "<body>\n"
    "<center><table width=\"80%\" borders=0 cellpadding=1 cellspacing=1>"
    "<tr><td>Final Status</td><td width=40>&nbsp;</td><td>F</td></tr>\n"
    "<tr><td>Report Date</td><td>&nbsp;</td><td>2024-07-01 09:05:03 EDT\n</td></tr>\n"
    "<tr><td>Kavlo Version</td><td>&nbsp;</td><td>1.0.0.0</td></tr>\n"
    "<tr><td>System Finger Print</td><td>&nbsp;</td><td>c770d06b0515b4d207e6b1488491d8bb</td></tr>\n"
    "</table></center>\n<br><br>\n\n"
    "<center><table border=0 cellpadding=1 cellspacing=1><tr>"
    "<th width=180>Status</th><th width=120>Test</th><th>Details</th></tr>\n";

const char kFooter[] = "</table></center>\n</body>\n</html>\n\n";

HtmlReportHeader Header()
{
    HtmlReportHeader header;
    header.verdictLetter = 'F';
    header.dateText = "2024-07-01 09:05:03 EDT\n";
    header.versionText = "1.0.0.0";
    header.fingerprint = "c770d06b0515b4d207e6b1488491d8bb";
    return header;
}

TestResult Result(TestStatus status, const char* name, const char* summary, const char* details)
{
    TestResult result;
    result.status = status;
    result.name = name;
    result.summary = summary;
    result.details = details;
    return result;
}

const char kRow1[] =
    "<tr bgcolor=\"#ffffff\"><td>1: A</td>\n<td>Memory</td><td><ul><li>2048 MB</li><li>At least 1024 MB.</li>"
    "</ul></td></tr>\n";
const char kRow2[] =
    "<tr bgcolor=\"#e0ffe0\"><td><color=\"#ffa0a0\">2: <b>F</b></color></td>\n<td>USB 2.0</td>"
    "<td><ul><li>None</li><li></li></ul></td></tr>\n";
const char kRow3[] =
    "<tr bgcolor=\"#ffffff\"><td>3: I</td>\n<td>CPU</td><td><ul><li>x86</li><li>line one\nline two</li>"
    "</ul></td></tr>\n";

} // namespace

TEST(HtmlReport_Structure, ZeroToThreeRows)
{
    const TestResult rows[] = {Result('A', "Memory", "2048 MB", "At least 1024 MB."),
                               Result('F', "USB 2.0", "None", ""),
                               Result('I', "CPU", "x86", "line one\nline two")};
    const char* const rowTexts[] = {kRow1, kRow2, kRow3};
    for (size_t count = 0; count <= 3; ++count) {
        std::vector<TestResult> results(rows, rows + count);
        std::string expected = kHeader;
        for (size_t i = 0; i < count; ++i)
            expected += rowTexts[i];
        expected += kFooter;
        EXPECT_EQ(BuildHtmlReport(Header(), results), expected) << count << " rows";
    }
}

TEST(HtmlReport_Structure, FailedCellForEveryLetterButAAndI)
{
    // Row colours alternate by position whatever the statuses.
    std::vector<TestResult> results = {Result('F', "a", "", ""), Result('F', "b", "", ""),
                                       Result('X', "c", "", "")};
    const std::string html = BuildHtmlReport(Header(), results);
    EXPECT_NE(html.find("<tr bgcolor=\"#ffffff\"><td><color=\"#ffa0a0\">1: <b>F</b></color></td>\n"), std::string::npos);
    EXPECT_NE(html.find("<tr bgcolor=\"#e0ffe0\"><td><color=\"#ffa0a0\">2: <b>F</b></color></td>\n"), std::string::npos);
    EXPECT_NE(html.find("<tr bgcolor=\"#ffffff\"><td><color=\"#ffa0a0\">3: <b>X</b></color></td>\n"), std::string::npos);
}

TEST(HtmlReport_Escaping, OutsideTextsAreWrittenAsText)
{
    std::vector<TestResult> results = {
        Result('I', "Default <Web> Browser", "\"Fire & Fox\" <script>", "a<b & c>d\r\nsecond \"line\"\t'x'")};
    const std::string html = BuildHtmlReport(Header(), results);
    EXPECT_NE(html.find("<td>Default &lt;Web&gt; Browser</td>"
                        "<td><ul><li>&quot;Fire &amp; Fox&quot; &lt;script&gt;</li>"
                        "<li>a&lt;b &amp; c&gt;d\r\nsecond &quot;line&quot;\t'x'</li></ul></td>"),
              std::string::npos)
        << html;
    EXPECT_EQ(html.find("<script>"), std::string::npos);
}

TEST(HtmlReport_Escaping, OnlyTheFourCharactersChange)
{
    EXPECT_EQ(EscapeHtml(""), "");
    EXPECT_EQ(EscapeHtml("&&"), "&amp;&amp;");
    EXPECT_EQ(EscapeHtml("&amp;"), "&amp;amp;");
    const std::string bytes("plain \x80\xff\x01 'single' ; % \n", 24);
    EXPECT_EQ(EscapeHtml(bytes), bytes);
}

TEST(EmailMessage_Fields, RecipientSubjectFlagsAndErrorText)
{
    const ReportMail mail = MakeReportMail("C:\\temp\\KavloReport.html", "support@velmora.com");
    EXPECT_EQ(mail.subject, "Kavlo Report");
    EXPECT_EQ(mail.recipientName, "Dunbrook Customer Service");
    EXPECT_EQ(mail.recipientAddress, "SMTP:support@velmora.com");
    EXPECT_EQ(mail.attachmentPath, "C:\\temp\\KavloReport.html");
    EXPECT_EQ(mail.flags, 9u);

    EXPECT_EQ(EmailErrorText(0), std::nullopt);
    EXPECT_EQ(EmailErrorText(1), std::nullopt);
    EXPECT_EQ(EmailErrorText(3), "Email creation failed with error code 3.  The email messsage was not sent.");
    EXPECT_EQ(EmailErrorText(26), "Email creation failed with error code 26.  The email messsage was not sent.");
    EXPECT_STREQ(kEmailErrorCaption, "Email Error");
}
