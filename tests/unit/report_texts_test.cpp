#include "report/fingerprint.h"
#include "report/html_report.h"
#include "report/md5.h"
#include "report/report_timestamp.h"

#include <gtest/gtest.h>

#include <algorithm>

// Names, texts and the date (the zone's name is the system's) come from outside the program: the
// report shows them, never runs them. The rows alternate in colour; a failed one is marked.
TEST(HtmlReport_Structure, WholeFileWithOutsideTextsEscaped)
{
    const HtmlReportHeader header = {'F', "2024-07-01 09:05:03 <A&B> \"Z\"\n", "1.0.0.0", "c770d06b0515b4d2"};
    EXPECT_EQ(BuildHtmlReport(header, {{nullptr, 'I', "Default <Web> Browser", "\"Fire & Fox\" <script>",
                                        "a&amp;b\r\n'x'\t\x80\xff"},
                                       {nullptr, 'F', "USB 2.0", "None", ""}}),
              "<html><head><title>Kavlo Report</title></head>\n<body>\n"
              "<center><table width=\"80%\" borders=0 cellpadding=1 cellspacing=1>"
              "<tr><td>Final Status</td><td width=40>&nbsp;</td><td>F</td></tr>\n"
              "<tr><td>Report Date</td><td>&nbsp;</td><td>2024-07-01 09:05:03 &lt;A&amp;B&gt; &quot;Z&quot;\n"
              "</td></tr>\n<tr><td>Kavlo Version</td><td>&nbsp;</td><td>1.0.0.0</td></tr>\n"
              "<tr><td>System Finger Print</td><td>&nbsp;</td><td>c770d06b0515b4d2</td></tr>\n"
              "</table></center>\n<br><br>\n\n<center><table border=0 cellpadding=1 cellspacing=1><tr>"
              "<th width=180>Status</th><th width=120>Test</th><th>Details</th></tr>\n"
              "<tr bgcolor=\"#ffffff\"><td>1: I</td>\n<td>Default &lt;Web&gt; Browser</td><td><ul><li>&quot;Fire "
              "&amp; Fox&quot; &lt;script&gt;</li><li>a&amp;amp;b\r\n'x'\t\x80\xff</li></ul></td></tr>\n"
              "<tr bgcolor=\"#e0ffe0\"><td><color=\"#ffa0a0\">2: <b>F</b></color></td>\n<td>USB 2.0</td>"
              "<td><ul><li>None</li><li></li></ul></td></tr>\n</table></center>\n</body>\n</html>\n\n");
}

TEST(ReportTimestamp_Texts, ZoneTextAndDateTemplates)
{
    const uint32_t standard = 1, daylight = 2;
    const std::pair<TimeZoneFacts, const char*> cases[] = {
        {{daylight, 300, "Eastern Standard Time", "Eastern Daylight Time"}, "EDT"},
        {{standard, 300, "Eastern Standard Time", "Eastern Daylight Time"}, "EST"},
        // Outside the table the standard bias alone, summer and winter alike, with its own sign.
        {{daylight, -60, "W. Europe Standard Time", "W. Europe Daylight Time"}, "(GMT -0100"},
        {{standard, -330, "India Standard Time", ""}, "(GMT -0530"},
        // The daylight name counts only while daylight time is in force.
        {{standard, 300, "Somewhere", "Eastern Daylight Time"}, "(GMT +0500"},
    };
    for (const auto& [facts, text] : cases)
        EXPECT_EQ(FormatTimeZoneText(facts, 64), text) << facts.standardNameUtf8 << ' ' << facts.zoneId;

    const ReportTimestamp stamp = {{2024, 7, 1, 9, 5, 3}, "EDT"};
    EXPECT_EQ(FormatHtmlReportDate(stamp), "2024-07-01 09:05:03 EDT\n");
    EXPECT_EQ(FormatPrintedReportDate(stamp), "Report Date:        2024-07-01 09:05:03 EDT");
}

TEST(Md5_Rfc1321, SuiteAndPaddingBoundariesInPiecesAcrossTheBlocks)
{
    const std::pair<std::string, const char*> cases[] = {
        // RFC 1321, appendix A.5.
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        // 55, 56 and 64 bytes: the length fits in the last block or needs one more.
        {std::string(55, 'a'), "ef1772b6dff9a122358552954ad0df65"},
        {std::string(56, 'a'), "3b0c8ac703f828b04c6c197006d17218"},
        {std::string(64, 'a'), "014842d480b571495a4a0363793f7367"},
    };
    for (const auto& [input, hex] : cases)
        for (size_t piece : {1000u, 1u, 3u, 63u, 64u, 65u}) {
            Md5 md5;
            for (size_t i = 0; i < input.size(); i += piece)
                md5.Update(input.data() + i, std::min(piece, input.size() - i));
            md5.Final();
            EXPECT_EQ(FormatDigestHex(33, md5.Digest()), hex) << input.size() << " bytes in pieces of " << piece;
        }
}

TEST(Fingerprint_Input, ProductIdThenSerialLeastSignificantByteFirst)
{
    const std::pair<FingerprintFacts, const char*> cases[] = {
        // Wine's ProductId and C: serial 0x43000000: the bytes 00 00 00 43 follow the text.
        {{"12345-oem-0000001-54321", 0x43000000u}, "c770d06b0515b4d207e6b1488491d8bb"},
        {{"12345-oem-0000001-54321", std::nullopt}, "c78b9951caa6247c89e3daa020bb34a1"},
        {{std::nullopt, 0x43000000u}, "00000000000000000000000000000000"},  // nothing hashed, never finalised
    };
    for (const auto& [facts, hex] : cases) {
        Md5 md5;
        EXPECT_EQ(FeedFingerprint(facts, md5), facts.productId.has_value());
        EXPECT_EQ(FormatDigestHex(33, md5.Digest()), hex);
    }
    EXPECT_EQ(ParentDirectoryOf("C:\\Windows"), "C:\\");
    EXPECT_EQ(ParentDirectoryOf("C:\\Programs\\Windows"), "C:\\Programs\\");
}
