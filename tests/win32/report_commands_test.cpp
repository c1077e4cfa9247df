// The main window's Email and Print commands with the real dialogs: a stand-in
// mail client (tests/mail_stand_in) and, in the print lab, a cups-pdf printer.
#include "report_test_support.h"

#include "app/app_globals_win32.h"
#include "app/logo_win32.h"
#include "app/results.h"
#include "app/settings.h"
#include "app/test_table.h"
#include "platform/scoped_win32.h"
#include "report/html_report.h"
#include "report/report_commands_win32.h"
#include "resource_ids.h"

#include <gtest/gtest.h>

#include <commdlg.h>

#include <algorithm>
#include <regex>

namespace {

const std::string kReportPath = TempPath("KavloReport.html");
const std::string kMailOut = TempPath("kavlo-mail-test\\");  // where the stand-in leaves what it received

HRESULT CallMailStandIn(const char* function)
{
    ScopedLibrary standIn(LoadLibraryA("mail_stand_in.dll"));
    const auto call = LookUpProc<HRESULT(WINAPI*)()>(standIn.Get(), function);
    return call ? call() : E_FAIL;
}

// The stand-in is the default mail client during each test; three rows of the
// real table, so that the required failed one decides the verdict.
class EmailReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("KAVLO_EXPECT_NO_MAPI"))
            GTEST_SKIP() << "this run has Simple MAPI disabled";
        ASSERT_EQ(CallMailStandIn("DllRegisterServer"), S_OK);
        CreateDirectoryA(kMailOut.c_str(), nullptr);
        DeleteFileA((kMailOut + "message.txt").c_str());
        SetEnvironmentVariableA("KAVLO_MAIL_OUT", kMailOut.c_str());
        g_results.clear();
        for (const TestEntry* row : {&g_testTable[2], &g_testTable[14], &g_testTable[10]})  // Memory, USB 2.0, CPU
            g_results.push_back({row, "AFI"[g_results.size()], row->name, "a <b> & \"c\"", "line\nnext"});
    }
    void TearDown() override
    {
        g_results = saved_;
        CallMailStandIn("DllUnregisterServer");
    }

    const std::vector<TestResult> saved_ = g_results;
};

// The attachment, which is the file left behind, in text mode: today's date and
// (where the run names it) zone, this verdict, version and fingerprint.
void ExpectAttachedReport(TestStatus verdict)
{
    const std::string html = ReadWholeFile(kMailOut + "attachment-0");
    EXPECT_EQ(ReadWholeFile(kReportPath), html);
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    char today[16];
    std::snprintf(today, sizeof(today), "%04u-%02u-%02u", now.wYear, now.wMonth, now.wDay);
    std::smatch date;
    const std::regex cell("<td>Report Date</td><td>&nbsp;</td><td>(\\S+) \\d\\d:\\d\\d:\\d\\d (.+)\r\n</td>");
    ASSERT_TRUE(std::regex_search(html, date, cell)) << html;
    EXPECT_EQ(date[1], today);
    TIME_ZONE_INFORMATION info = {};
    const char* daylight = GetTimeZoneInformation(&info) == TIME_ZONE_ID_DAYLIGHT ? "EDT" : "EST";
    if (const char* zone = std::getenv("KAVLO_EXPECT_US_EASTERN") ? daylight : std::getenv("KAVLO_EXPECT_ZONE_TEXT")) {
        EXPECT_EQ(date[2], zone);
    }
    const auto has = [&html](const std::string& text) { return html.find(text) != std::string::npos; };
    EXPECT_TRUE(has(std::string("<td>Final Status</td><td width=40>&nbsp;</td><td>") + verdict + "</td></tr>\r\n"));
    EXPECT_TRUE(has("<td>Kavlo Version</td><td>&nbsp;</td><td>" KAVLO_VERSION_TEXT_FOR_TESTS "</td></tr>\r\n"));
    EXPECT_TRUE(has("<td>System Finger Print</td><td>&nbsp;</td><td>" + ExpectedFingerprint() + "</td></tr>\r\n"));
    EXPECT_GT(std::count(html.begin(), html.end(), '\n'), std::ptrdiff_t(g_results.size()));
    EXPECT_EQ(std::regex_replace(html, std::regex("\r\n"), "").find('\n'), std::string::npos);  // CR LF only
}

// Fills in the Sales Information dialog (noting the names it opened with) and answers the
// printer dialog, or the "no printer" box Wine shows in its place, as a person would.
struct PrintDialogs {
    PrintDialogs(const char* agent, const char* prospect, bool acceptPrinter)
        : sales("Kavlo - Sales Information",
                [this, agent, prospect](HWND dialog) {
                    shownNames = TextOf(GetDlgItem(dialog, IDC_SALES_AGENT_NAME)) + "|" +
                                 TextOf(GetDlgItem(dialog, IDC_PROSPECT_NAME));
                    SetDlgItemTextA(dialog, IDC_SALES_AGENT_NAME, agent);
                    SetDlgItemTextA(dialog, IDC_PROSPECT_NAME, prospect);
                    Press(dialog, IDOK);
                }),
          print("Print", [this, acceptPrinter](HWND dialog) {
              // The printer dialog has the printer list; the box has none.
              const bool chooser = FindWindowExA(dialog, nullptr, "ComboBox", nullptr) != nullptr;
              printerDialogs += chooser;
              noPrinterText += chooser ? "" : MessageOf(dialog);
              Press(dialog, chooser && !acceptPrinter ? IDCANCEL : IDOK);
          })
    {
    }
    std::string shownNames;
    int printerDialogs = 0;
    std::string noPrinterText;
    DialogWatcher sales, print;
};

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
    // A second mail replaces the file: the current rows and verdict.
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
    for (const auto& [code, expected] : cases) {
        SetEnvironmentVariableA("KAVLO_MAIL_RESULT", code);
        std::string text;
        DialogWatcher box("Email Error", [&](HWND dialog) {
            text = MessageOf(dialog);
            EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner.hwnd);
            Press(dialog, IDOK);
        });
        EmailReport(owner.hwnd);
        EXPECT_EQ(box.Finish(), *expected ? 1 : 0) << code;
        EXPECT_EQ(text, expected);
        EXPECT_NE(ReadWholeFile(kMailOut + "message.txt").find("\nresult=" + std::string(code)), std::string::npos);
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

// Runs only inside tests/print_lab/print-report-test, which starts a print server with the "PDF"
// printer as the default and reads the two PDFs, printer.txt, expected.txt and report.html afterwards.
TEST(PrintedReport, PrintsThroughTheDialogsTwice)
{
    const char* out = std::getenv("KAVLO_PRINT_OUT");
    if (!out)
        GTEST_SKIP() << "only in the print-server run (tests/print_lab)";
    PRINTDLGA defaults = {};
    defaults.lStructSize = sizeof(defaults);
    defaults.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    ASSERT_TRUE(PrintDlgA(&defaults)) << "no default printer";
    std::ofstream facts(std::string(out) + "\\printer.txt");
    for (auto [name, cap] :
         {std::pair{"HORZRES", HORZRES}, {"VERTRES", VERTRES}, {"HORZSIZE", HORZSIZE}, {"VERTSIZE", VERTSIZE}})
        facts << name << "=" << GetDeviceCaps(defaults.hDC, cap) << "\n";
    DeleteDC(defaults.hDC);
    GlobalFree(defaults.hDevMode);
    GlobalFree(defaults.hDevNames);

    // Eighteen rows with a failed required one, a long details text and one with CR LF.
    const std::vector<TestResult> saved = g_results;
    g_results.clear();
    for (const TestEntry* row = g_testTable; row->check; ++row)
        g_results.push_back({row, 'A', row->name, std::string("Summary of ") + row->name,
                             std::string("Details of ") + row->name + "."});
    g_results[3].status = 'I';
    g_results[8].details = "Remote desktop: no\r\nVirtual machine: none found";
    g_results[14] = {g_results[14].entry, 'F', "USB 2.0", "No USB 2.0 controller",
                     "A USB 2.0 controller is required for the check scanner. Controllers found: Standard OpenHCD USB "
                     "Host Controller, Standard Universal PCI to USB Host Controller. Install a USB 2.0 card."};
    g_logoBitmap = LoadImageResource(GetModuleHandleA(nullptr), IDR_LOGO_JPEG, "JPEG");
    EXPECT_NE(g_logoBitmap, nullptr);
    g_salesAgentName.clear();
    g_prospectName.clear();

    OwnerWindow owner;
    {
        PrintDialogs dialogs("Ann Agent", "Pat <Prospect> & Co", true);
        EXPECT_TRUE(PrintReport(owner.hwnd));
        EXPECT_EQ(dialogs.sales.Finish() + dialogs.print.Finish(), 2);
        EXPECT_EQ(dialogs.printerDialogs, 1);
    }
    EXPECT_EQ(g_prospectName, "Pat <Prospect> & Co");
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd));

    // The second opens with the first names; no logo, and nine rows (the first eight and the
    // failed one) so that the verdict fits whatever the printer's own font makes of the row gaps.
    DeleteObject(g_logoBitmap);
    g_logoBitmap = nullptr;
    g_results.erase(g_results.begin() + 8, g_results.begin() + 14);
    g_results.resize(9);
    Sleep(1500);  // a distinct second in the file name cups-pdf gives the job
    {
        PrintDialogs dialogs("Bo Second", "", true);
        EXPECT_TRUE(PrintReport(owner.hwnd));
        dialogs.sales.Finish();
        EXPECT_EQ(dialogs.shownNames, "Ann Agent|Pat <Prospect> & Co");
    }
    std::ofstream(std::string(out) + "\\expected.txt") << "fingerprint=" << ExpectedFingerprint() << "\n";
    WriteHtmlReport((std::string(out) + "\\report.html").c_str());
    g_results = saved;
}

// With no printer, Print ends quietly once that box is dismissed (and a printer dialog that may follow is cancelled).
TEST(PrintedReport, NoPrinterEndsQuietly)
{
    PRINTDLGA defaults = {};
    defaults.lStructSize = sizeof(defaults);
    defaults.Flags = PD_RETURNDEFAULT;
    if (std::getenv("KAVLO_PRINT_OUT") || PrintDlgA(&defaults))
        GTEST_SKIP() << "a printer is configured";
    OwnerWindow owner;
    PrintDialogs dialogs("Ann Agent", "Pat Prospect", false);
    DialogWatcher errors("Device Error", [](HWND dialog) { Press(dialog, IDOK); });
    EXPECT_FALSE(PrintReport(owner.hwnd));
    EXPECT_EQ(dialogs.sales.Finish(), 1);
    dialogs.print.Finish();
    EXPECT_EQ(errors.Finish(), 0);
    EXPECT_NE(dialogs.noPrinterText.find("install a printer"), std::string::npos) << dialogs.noPrinterText;
    EXPECT_LE(dialogs.printerDialogs, 1);
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd));
}
