#include "report_test_support.h"

#include "app/app_globals_win32.h"
#include "app/logo_win32.h"
#include "app/results.h"
#include "app/settings.h"
#include "report/fingerprint.h"
#include "report/html_report.h"
#include "report/report_commands_win32.h"
#include "resource_ids.h"

#include <gtest/gtest.h>

#include <commdlg.h>

#include <cstdlib>
#include <fstream>

namespace {

// Answers the Sales Information dialog (recording the names it opened with)
// and the printer dialogs, from another thread, as a person would.
class PrintDialogsAnswerer {
public:
    PrintDialogsAnswerer(std::string agent, std::string prospect, bool acceptPrinter)
        : agent_(std::move(agent)), prospect_(std::move(prospect)), acceptPrinter_(acceptPrinter),
          thread_([this] { Watch(); })
    {
    }
    ~PrintDialogsAnswerer() { Finish(); }
    void Finish()
    {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
    }

    std::string shownAgent, shownProspect, noPrinterText;
    std::atomic<int> salesDialogs{0}, noPrinterBoxes{0}, printerDialogs{0};

private:
    static std::string ItemText(HWND dialog, int id)
    {
        char text[512] = {};
        GetDlgItemTextA(dialog, id, text, sizeof(text));
        return text;
    }

    static void Press(HWND dialog, int id)
    {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }

    static void WaitGone(HWND window)
    {
        for (int i = 0; i < 500 && IsWindow(window); ++i)
            Sleep(10);
    }

    void Watch()
    {
        while (!stop_) {
            if (HWND sales = FindWindowA("#32770", "Kavlo - Sales Information"); sales && IsWindowVisible(sales)) {
                shownAgent = ItemText(sales, IDC_SALES_AGENT_NAME);
                shownProspect = ItemText(sales, IDC_PROSPECT_NAME);
                SetDlgItemTextA(sales, IDC_SALES_AGENT_NAME, agent_.c_str());
                SetDlgItemTextA(sales, IDC_PROSPECT_NAME, prospect_.c_str());
                ++salesDialogs;
                Press(sales, IDOK);
                WaitGone(sales);
            }
            if (HWND print = FindWindowA("#32770", "Print"); print && IsWindowVisible(print)) {
                // The printer dialog has the printer list (a combo box);
                // the "no printer" box has none.
                if (FindWindowExA(print, nullptr, "ComboBox", nullptr)) {
                    ++printerDialogs;
                    Press(print, acceptPrinter_ ? IDOK : IDCANCEL);
                } else {
                    std::string text;
                    EnumChildWindows(print, CollectStaticText, reinterpret_cast<LPARAM>(&text));
                    noPrinterText = text;
                    ++noPrinterBoxes;
                    Press(print, IDOK);
                }
                WaitGone(print);
            }
            Sleep(20);
        }
    }

    std::string agent_, prospect_;
    bool acceptPrinter_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Eighteen rows as a run might leave them, with a failed required row, a long
// details text and a details text with CR LF.
std::vector<TestResult> EighteenResults()
{
    std::vector<TestResult> results;
    for (const TestEntry* row = g_testTable; row->check; ++row) {
        TestResult result = MakeFreshResult(*row);
        result.status = 'A';
        result.summary = std::string("Summary of ") + row->name;
        result.details = std::string("Details of ") + row->name + ".";
        results.push_back(result);
    }
    results[3].status = 'I';
    results[14].status = 'F';
    results[14].summary = "No USB 2.0 controller";
    results[14].details = "A USB 2.0 controller is required for the check scanner. Controllers found: "
                          "Standard OpenHCD USB Host Controller, Standard Universal PCI to USB Host Controller. "
                          "Install a USB 2.0 card.";
    results[8].details = "Remote desktop: no\r\nVirtual machine: none found";
    return results;
}

} // namespace

// Runs only inside tests/print_lab/print-report-test, which starts a print
// server with the "PDF" printer and reads the PDFs afterwards.
TEST(PrintedReport, PrintsThroughTheDialogsTwice)
{
    const char* out = std::getenv("KAVLO_PRINT_OUT");
    if (!out)
        GTEST_SKIP() << "only in the print-server run (tests/print_lab)";
    const std::string folder = out;

    // The default printer as the printer dialog returns it.
    PRINTDLGA defaults = {};
    defaults.lStructSize = sizeof(defaults);
    defaults.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    ASSERT_TRUE(PrintDlgA(&defaults)) << "no default printer";
    EXPECT_EQ(sizeof(defaults), 66u);
    ASSERT_NE(defaults.hDevNames, nullptr);
    const DEVNAMES* names = static_cast<const DEVNAMES*>(GlobalLock(defaults.hDevNames));
    const std::string device = reinterpret_cast<const char*>(names) + names->wDeviceOffset;
    GlobalUnlock(defaults.hDevNames);
    EXPECT_EQ(device, "PDF");
    std::ofstream facts(folder + "\\printer.txt");
    facts << "device=" << device << "\nRASTERCAPS=" << GetDeviceCaps(defaults.hDC, RASTERCAPS)
          << "\nHORZRES=" << GetDeviceCaps(defaults.hDC, HORZRES) << "\nVERTRES=" << GetDeviceCaps(defaults.hDC, VERTRES)
          << "\nHORZSIZE=" << GetDeviceCaps(defaults.hDC, HORZSIZE)
          << "\nVERTSIZE=" << GetDeviceCaps(defaults.hDC, VERTSIZE) << "\n";
    SIZE letter = {};
    GetTextExtentPoint32A(defaults.hDC, "A", 1, &letter);
    char face[64] = {};
    GetTextFaceA(defaults.hDC, sizeof(face), face);
    facts << "line unit (\"A\" in the initial font)=" << letter.cy << "\ninitial font=" << face << "\n";
    EXPECT_TRUE(GetDeviceCaps(defaults.hDC, RASTERCAPS) & RC_BITBLT);
    DeleteDC(defaults.hDC);
    GlobalFree(defaults.hDevMode);
    GlobalFree(defaults.hDevNames);

    const std::vector<TestResult> saved = g_results;
    g_results = EighteenResults();
    // Decoded as start-up does it, from the logo built into this program.
    g_logoBitmap = LoadImageResource(GetModuleHandleA(nullptr), IDR_LOGO_JPEG, "JPEG");
    EXPECT_NE(g_logoBitmap, nullptr);
    g_salesAgentName.clear();
    g_prospectName.clear();

    OwnerWindow owner;
    {
        PrintDialogsAnswerer answerer("Ann Agent", "Pat <Prospect> & Co", true);
        EXPECT_TRUE(PrintReport(owner.Get()));
        answerer.Finish();
        EXPECT_EQ(answerer.salesDialogs, 1);
        EXPECT_EQ(answerer.printerDialogs, 1);
        EXPECT_EQ(answerer.noPrinterBoxes, 0);
        EXPECT_EQ(answerer.shownAgent, "");
    }
    EXPECT_EQ(g_salesAgentName, "Ann Agent");
    EXPECT_EQ(g_prospectName, "Pat <Prospect> & Co");
    EXPECT_TRUE(IsWindowEnabled(owner.Get()));

    // The second print opens with the first names; this one has no logo and
    // nine rows (the first eight and the failed one), so that the verdict fits
    // whatever the printer's own font makes of the row gaps.
    DeleteObject(g_logoBitmap);
    g_logoBitmap = nullptr;
    const TestResult failed = g_results[14];
    g_results.resize(8);
    g_results.push_back(failed);
    Sleep(1500);  // a distinct second in the file name cups-pdf gives the job
    {
        PrintDialogsAnswerer answerer("Bo Second", "", true);
        EXPECT_TRUE(PrintReport(owner.Get()));
        answerer.Finish();
        EXPECT_EQ(answerer.shownAgent, "Ann Agent");
        EXPECT_EQ(answerer.shownProspect, "Pat <Prospect> & Co");
    }
    EXPECT_TRUE(IsWindowEnabled(owner.Get()));

    // What the PDFs must show, and the HTML report for the same fingerprint.
    std::ofstream expected(folder + "\\expected.txt");
    expected << "fingerprint=" << SystemFingerprintText(64) << "\n";
    WriteHtmlReport((folder + "\\report.html").c_str());
    g_results = saved;
}

// With no printer the printer dialog shows a box instead (Wine: "Before you
// can perform printer-related tasks ..."); Print ends quietly once it is
// dismissed, and a printer dialog that may follow is cancelled.
TEST(PrintedReport, NoPrinterEndsQuietly)
{
    if (std::getenv("KAVLO_PRINT_OUT"))
        GTEST_SKIP() << "a printer is configured in this run";
    PRINTDLGA defaults = {};
    defaults.lStructSize = sizeof(defaults);
    defaults.Flags = PD_RETURNDEFAULT;
    if (PrintDlgA(&defaults)) {
        GlobalFree(defaults.hDevMode);
        GlobalFree(defaults.hDevNames);
        GTEST_SKIP() << "this prefix has a printer";
    }
    OwnerWindow owner;
    PrintDialogsAnswerer answerer("Ann Agent", "Pat Prospect", false);
    BoxAnswerer errors("Device Error");
    EXPECT_FALSE(PrintReport(owner.Get()));
    answerer.Finish();
    EXPECT_FALSE(errors.Finish());
    EXPECT_EQ(answerer.salesDialogs, 1);
    EXPECT_EQ(answerer.noPrinterBoxes, 1);
    EXPECT_NE(answerer.noPrinterText.find("install a printer"), std::string::npos) << answerer.noPrinterText;
    EXPECT_LE(answerer.printerDialogs, 1);
    EXPECT_TRUE(IsWindowEnabled(owner.Get()));
}
