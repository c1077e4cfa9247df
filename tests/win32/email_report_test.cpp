#include "report_test_support.h"

#include "app/results.h"
#include "app/settings.h"
#include "app/test_table.h"
#include "platform/registry_win32.h"
#include "report/fingerprint.h"
#include "report/html_report.h"
#include "report/report_commands_win32.h"
#include "report/report_timestamp.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

const std::string kTemp = [] {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp);
}();
const std::string kReportPath = kTemp + "KavloReport.html";
const std::string kMailOut = kTemp + "kavlo-mail-test\\";  // where the stand-in leaves what it received

HRESULT CallMailStandIn(const char* function)
{
    HMODULE standIn = LoadLibraryA("mail_stand_in.dll");
    auto call = reinterpret_cast<HRESULT(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(standIn, function)));
    const HRESULT result = standIn && call ? call() : E_FAIL;
    FreeLibrary(standIn);
    return result;
}

// The stand-in mail client (tests/mail_stand_in) is the default one during each test.
class EmailReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = g_results;
        if (std::getenv("KAVLO_EXPECT_NO_MAPI"))
            GTEST_SKIP() << "this run has Simple MAPI disabled";
        ASSERT_EQ(CallMailStandIn("DllRegisterServer"), S_OK);
        CreateDirectoryA(kMailOut.c_str(), nullptr);
        DeleteFileA((kMailOut + "message.txt").c_str());
        SetEnvironmentVariableA("KAVLO_MAIL_OUT", kMailOut.c_str());
        // Rows of the real table, so that the required failed one decides the verdict.
        g_results.clear();
        for (const TestEntry* row : {&g_testTable[2], &g_testTable[14], &g_testTable[10]})  // Memory, USB 2.0, CPU
            g_results.push_back({row, "AFI"[g_results.size()], row->name, "a <b> & \"c\"", "line\nnext"});
    }
    void TearDown() override
    {
        g_results = saved_;
        CallMailStandIn("DllUnregisterServer");
    }

    std::vector<TestResult> saved_;
};

// The attachment, which is the file left behind, is the report in text mode with today's date
// and zone, and the fingerprint of the product identifier and the volume serial read here.
void ExpectAttachedReport(TestStatus verdict)
{
    const std::string html = ReadWholeFile(kMailOut + "attachment-0");
    EXPECT_EQ(ReadWholeFile(kReportPath), html);
    const std::string cell = "<td>Report Date</td><td>&nbsp;</td><td>";
    ASSERT_NE(html.find(cell), std::string::npos) << html;
    const size_t start = html.find(cell) + cell.size();
    const std::string date = html.substr(start, html.find("\r\n</td>", start) - start), zone = date.substr(20);
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    EXPECT_EQ(date.substr(0, 10), FormatHtmlReportDate({{now.wYear, now.wMonth, now.wDay}, ""}).substr(0, 10));
    TIME_ZONE_INFORMATION info = {};
    const char* daylight = GetTimeZoneInformation(&info) == TIME_ZONE_ID_DAYLIGHT ? "EDT" : "EST";
    const char* zoneSet = std::getenv("KAVLO_EXPECT_US_EASTERN") ? daylight : std::getenv("KAVLO_EXPECT_ZONE_TEXT");
    EXPECT_EQ(zone, zoneSet ? zoneSet : FormatTimeZoneName(64));

    FingerprintFacts facts = {ReadRegKeyValueText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                                                  "ProductId"), std::nullopt};
    DWORD serial = 0;
    if (GetVolumeInformationA("C:\\", nullptr, 0, &serial, nullptr, nullptr, nullptr, 0))
        facts.volumeSerial = serial;
    Md5 md5;
    EXPECT_TRUE(FeedFingerprint(facts, md5));
    // The layout is the HTML report's own (its unit tests); the file written
    // here must carry this verdict, version and fingerprint, in text mode.
    const auto has = [&html](const std::string& text) { return html.find(text) != std::string::npos; };
    EXPECT_TRUE(has(std::string("<td>Final Status</td><td width=40>&nbsp;</td><td>") + verdict + "</td></tr>\r\n"));
    EXPECT_TRUE(has("<td>Kavlo Version</td><td>&nbsp;</td><td>" KAVLO_VERSION_TEXT_FOR_TESTS "</td></tr>\r\n"));
    EXPECT_TRUE(has("<td>System Finger Print</td><td>&nbsp;</td><td>" + FormatDigestHex(33, md5.Digest()) +
                    "</td></tr>\r\n"));
    size_t lineEnds = 0, bareLineFeeds = 0;
    for (size_t i = 0; i < html.size(); ++i)
        if (html[i] == '\n')
            ++(i > 0 && html[i - 1] == '\r' ? lineEnds : bareLineFeeds);
    EXPECT_GT(lineEnds, g_results.size());
    EXPECT_EQ(bareLineFeeds, 0u);
}

} // namespace

TEST_F(EmailReportTest, MessageAndAttachedReportInTwoMails)
{
    OwnerWindow owner;
    EmailReport(owner.hwnd);
    std::string path;  // the stand-in doubles each backslash
    for (char c : kReportPath)
        path += c == '\\' ? std::string("\\\\") : std::string(1, c);
    EXPECT_EQ(ReadWholeFile(kMailOut + "message.txt"),
              "call=MAPISendMail\nsession=0\nuiParam=" + std::to_string(reinterpret_cast<ULONG_PTR>(owner.hwnd)) +
                  "\nflags=9\nreserved=0\nmessage.reserved=0\nmessage.subject=Kavlo Report\nmessage.noteText=(null)\n"
                  "message.messageType=(null)\nmessage.dateReceived=(null)\nmessage.conversationID=(null)\n"
                  "message.flags=0\noriginator=(null)\nmessage.recipCount=1\nrecip0.reserved=0\nrecip0.recipClass=1\n"
                  "recip0.name=Dunbrook Customer Service\nrecip0.address=SMTP:" + g_customerServiceAddress +
                  "\nrecip0.eidSize=0\nrecip0.entryID=(null)\nmessage.fileCount=1\nfile0.reserved=0\nfile0.flags=0\n"
                  "file0.position=4294967295\nfile0.pathName=" + path +
                  "\nfile0.fileName=(null)\nfile0.fileType=(null)\nfile0.copied=attachment-0\nresult=0\nend\n");
    ExpectAttachedReport('F');
    // A second mail replaces the file: the current rows and verdict, the same fingerprint.
    g_results.pop_back();
    g_results[1].status = 'A';
    EmailReport(owner.hwnd);
    ExpectAttachedReport('A');
}

TEST_F(EmailReportTest, UserAbortIsSilentAndOtherCodesShowTheErrorBox)
{
    const std::pair<const char*, const char*> cases[] = {
        {"0", ""}, {"1", ""}, {"3", "Email creation failed with error code 3.  The email messsage was not sent."}};
    OwnerWindow owner;
    for (const auto& c : cases) {
        SetEnvironmentVariableA("KAVLO_MAIL_RESULT", c.first);
        std::string text;
        DialogWatcher box("Email Error", [&](HWND dialog) {
            text = MessageOf(dialog);
            EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner.hwnd);
            Press(dialog, IDOK);
        });
        EmailReport(owner.hwnd);
        EXPECT_EQ(box.Finish(), *c.second ? 1 : 0) << c.first;
        EXPECT_EQ(text, c.second);
        EXPECT_NE(ReadWholeFile(kMailOut + "message.txt").find("\nresult=" + std::string(c.first)), std::string::npos);
    }
    SetEnvironmentVariableA("KAVLO_MAIL_RESULT", nullptr);
}

// Run with Simple MAPI disabled (WINEDLLOVERRIDES=mapi32=): nothing shows, no file is written.
TEST(EmailReportWithoutMapi, DoesNothing)
{
    if (!std::getenv("KAVLO_EXPECT_NO_MAPI"))
        GTEST_SKIP() << "only in the run with Simple MAPI disabled";
    ASSERT_EQ(LoadLibraryA("mapi32.dll"), nullptr);
    DeleteFileA(kReportPath.c_str());
    OwnerWindow owner;
    DialogWatcher box("Email Error", [](HWND dialog) { Press(dialog, IDOK); });
    EmailReport(owner.hwnd);
    EXPECT_EQ(box.Finish(), 0);
    EXPECT_EQ(GetFileAttributesA(kReportPath.c_str()), INVALID_FILE_ATTRIBUTES);
}
