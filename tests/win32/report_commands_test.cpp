// The main window's Email and Print commands with the real dialogs: a stand-in
// mail client (tests/mail_stand_in), and no printer (the report scenarios print).
#include "report_test_support.h"

#include "app/results.h"
#include "app/settings.h"
#include "app/test_table.h"
#include "platform/scoped_win32.h"
#include "report/report_commands_win32.h"
#include "report/report_page_win32.h"
#include "resource_ids.h"

#include <gtest/gtest.h>

#include <map>

namespace {

const std::string kTempFolder = TempPath(""), kReportPath = kTempFolder + "KavloReport.html";
const std::string kMailOut = TempPath("kavlo-mail-test\\");  // where the stand-in leaves what it received

HRESULT CallMailStandIn(const char* function)
{
    ScopedLibrary standIn(LoadLibraryA("mail_stand_in.dll"));
    const auto call = LookUpProc<HRESULT(WINAPI*)()>(standIn.Get(), function);
    return call ? call() : E_FAIL;
}

// The stand-in is the default mail client during each test; three rows of the
// real table, so that the required failed one decides the verdict.
struct EmailReportTest : ::testing::Test {
    void SetUp() override
    {
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

} // namespace

// Each mail's message, and its attachment, which is the file left behind: the current verdict and this
// PC's fingerprint (the report scenarios check the rest of it against the main window).
TEST_F(EmailReportTest, MessageAndAttachedReportInTwoMails)
{
    OwnerWindow owner;
    std::string path;  // the stand-in doubles each backslash
    for (char c : kReportPath)
        path += c == '\\' ? std::string("\\\\") : std::string(1, c);
    for (const TestStatus verdict : {'F', 'A'}) {
        EmailReport(owner.hwnd);
        const std::string message = ReadWholeFile(kMailOut + "message.txt");
        for (const std::string& line : {"uiParam=" + std::to_string(reinterpret_cast<ULONG_PTR>(owner.hwnd)),
                                        "file0.pathName=" + path,
                                        std::string("recip0.address=SMTP:") + g_customerServiceAddress})
            EXPECT_NE(message.find("\n" + line + "\n"), std::string::npos) << line << " in\n" << message;
        const std::string html = ReadWholeFile(kMailOut + "attachment-0");
        EXPECT_EQ(ReadWholeFile(kReportPath), html);
        for (const std::string& row : {std::string("<td>Final Status</td><td width=40>&nbsp;</td><td>") + verdict,
                                       "<td>System Finger Print</td><td>&nbsp;</td><td>" + ExpectedFingerprint()})
            EXPECT_NE(html.find(row + "</td></tr>\r\n"), std::string::npos) << row;
        // The second mail replaces the file: the current rows and verdict.
        g_results.resize(2);
        g_results[1].status = 'A';
    }
}

// Simple MAPI's answer: success and the user's abort are silent, any other code is shown over the owner.
TEST_F(EmailReportTest, UserAbortIsSilentAndOtherCodesShowTheErrorBox)
{
    OwnerWindow owner;
    for (const char* code : {"1", "3"}) {
        SetEnvironmentVariableA("KAVLO_MAIL_RESULT", code);
        std::string text;
        DialogWatcher box("Email Error", [&](HWND dialog) {
            text = MessageOf(dialog) + (GetWindow(dialog, GW_OWNER) == owner.hwnd ? "" : " (not owned)");
            Press(dialog, IDOK);
        });
        EmailReport(owner.hwnd);
        box.Finish();
        EXPECT_EQ(text, *code == '1' ? "" : "Email creation failed with error code 3.  The email messsage was not sent.");
        EXPECT_NE(ReadWholeFile(kMailOut + "message.txt").find("\nresult=" + std::string(code)), std::string::npos);
    }
    SetEnvironmentVariableA("KAVLO_MAIL_RESULT", nullptr);
}

// A report that cannot be written whole is not mailed: the error box with Simple MAPI's code for an
// attachment that could not be written, and nothing new in the report's folder. The full disk is a
// folder on a full tmpfs that tests/disk-speed/full-disk gives (as root) in KAVLO_FULL_TEMP.
TEST_F(EmailReportTest, ReportNotWrittenWholeIsNotMailed)
{
    const std::string fullFolder = WindowsPathFrom("KAVLO_FULL_TEMP");
    const struct { const char* situation; std::string folder; bool oldReport; } cases[] = {
        {"no temporary folder", TempPath("kavlo-no-such-folder\\"), false},
        {"temporary folder path too long", "C:\\" + std::string(300, 'x') + "\\", false},
        // An old report held open (shared with none) cannot be replaced.
        {"old report held open", TempPath("kavlo-held-report\\"), true},
        {"full disk", fullFolder + "\\", false},
    };
    OwnerWindow owner;
    for (const auto& c : cases) {
        if (c.folder == "\\") {
            std::printf("not tried: %s (needs tests/disk-speed/full-disk, as root)\n", c.situation);
            continue;
        }
        const std::string report = c.folder + "KavloReport.html";
        ScopedHandle held;
        if (c.oldReport) {
            CreateDirectoryA(c.folder.c_str(), nullptr);
            std::ofstream(report) << "old report";
            held.Reset(CreateFileA(report.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        }
        for (const char* name : {"TMP", "TEMP"})
            SetEnvironmentVariableA(name, c.folder.c_str());
        std::string text;
        DialogWatcher box("Email Error", [&](HWND dialog) { text = MessageOf(dialog), Press(dialog, IDOK); });
        EmailReport(owner.hwnd);
        for (const char* name : {"TMP", "TEMP"})
            SetEnvironmentVariableA(name, kTempFolder.c_str());
        held.Reset();

        EXPECT_EQ(box.Finish(), 1) << c.situation;
        EXPECT_EQ(text, "Email creation failed with error code 13.  The email messsage was not sent.") << c.situation;
        EXPECT_EQ(ReadWholeFile(kMailOut + "message.txt"), "") << c.situation << ": the mail client was called";
        EXPECT_EQ(ReadWholeFile(report), c.oldReport ? "old report" : "") << c.situation;
        DeleteFileA(report.c_str());
        RemoveDirectoryA(c.folder.c_str());  // gone only if nothing else is left in it
        EXPECT_EQ(GetFileAttributesA(c.folder.c_str()), INVALID_FILE_ATTRIBUTES) << c.situation << ": a file was left";
    }
}

namespace {

// The page as a printer's driver receives it, recorded in an enhanced metafile: "face weight: text|"
// for each text drawn (all ASCII here), and whether a report font was deleted while selected.
struct RecordedPage {
    std::map<DWORD, std::string> fonts;  // handle-table index: "face weight"
    DWORD selected = 0;
    std::string texts;
    bool deletedWhileSelected = false;
};

int CALLBACK RecordPage(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data)
{
    RecordedPage& page = *reinterpret_cast<RecordedPage*>(data);
    if (record->iType == EMR_EXTCREATEFONTINDIRECTW) {
        const auto* font = reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(record);
        const std::wstring face = font->elfw.elfLogFont.lfFaceName;
        page.fonts[font->ihFont] = std::string(face.begin(), face.end()) + " " +
                                   std::to_string(font->elfw.elfLogFont.lfWeight);
    } else if (record->iType == EMR_SELECTOBJECT || record->iType == EMR_DELETEOBJECT) {
        const DWORD object = reinterpret_cast<const EMRSELECTOBJECT*>(record)->ihObject;  // the same layout
        page.deletedWhileSelected |= record->iType == EMR_DELETEOBJECT && object == page.selected;
        page.selected = record->iType == EMR_SELECTOBJECT ? object : page.selected;
    } else if (record->iType == EMR_EXTTEXTOUTW) {
        const EMRTEXT& text = reinterpret_cast<const EMREXTTEXTOUTW*>(record)->emrtext;
        const auto* chars = reinterpret_cast<const wchar_t*>(reinterpret_cast<const char*>(record) + text.offString);
        page.texts += page.fonts[page.selected] + ": " + std::string(chars, chars + text.nChars) + "|";
    }
    return 1;
}

} // namespace

// The real GDI calls: each report font's face and weight, the texts drawn in them, and the
// context's own font back before any report font is deleted.
TEST(PrintedReport, PageDrawnByGdiInItsFonts)
{
    const auto saved = std::exchange(g_results, {{&g_testTable[14], 'F', "USB 2.0", "None", "Plug in"}});
    const std::string agent = std::exchange(g_salesAgentName, "Ann Agent");
    const HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    CreateReportFonts(dc);
    DrawReportPage(dc);
    DeleteReportFonts();
    const HENHMETAFILE page = CloseEnhMetaFile(dc);
    RecordedPage recorded;
    EnumEnhMetaFile(nullptr, page, RecordPage, &recorded, nullptr);
    DeleteEnhMetaFile(page);
    std::tie(g_results, g_salesAgentName) = std::tie(saved, agent);
    for (const char* text : {"Courier New 0: Kavlo|", "Courier New 0: Sales Agent:        Ann Agent|",
                             "Courier New 900: Status|", "Courier New 0: 1|", "Courier New 900: F|",
                             "Courier New 900: USB 2.0|", "Courier New 900: **********|", "Courier New 0: None|",
                             "Times New Roman 0: Plug in|", "Times New Roman 300: Your computer did not pass"})
        EXPECT_NE(recorded.texts.find(text), std::string::npos) << text << " in " << recorded.texts;
    EXPECT_FALSE(recorded.deletedWhileSelected);
}

// Each print opens the Sales Information dialog with the names given last.
TEST(PrintedReport, SalesInformationOpensWithTheNamesGivenLast)
{
    const std::string agent = std::exchange(g_salesAgentName, "Ann Agent");
    const std::string prospect = std::exchange(g_prospectName, "Pat");
    std::string shown;
    DialogWatcher watcher("Kavlo - Sales Information", [&](HWND dialog) {
        shown = TextOf(GetDlgItem(dialog, IDC_SALES_AGENT_NAME)) + "|" + TextOf(GetDlgItem(dialog, IDC_PROSPECT_NAME));
        Press(dialog, IDCANCEL);
    });
    OwnerWindow owner;
    EXPECT_FALSE(PrintReport(owner.hwnd));
    EXPECT_EQ(watcher.Finish(), 1);
    EXPECT_EQ(shown, "Ann Agent|Pat");
    std::tie(g_salesAgentName, g_prospectName) = std::tie(agent, prospect);
}
