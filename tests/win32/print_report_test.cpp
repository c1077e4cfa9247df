#include "report_test_support.h"

#include "app/app_globals_win32.h"
#include "app/logo_win32.h"
#include "app/results.h"
#include "app/settings.h"
#include "app/test_table.h"
#include "report/fingerprint.h"
#include "report/html_report.h"
#include "report/report_commands_win32.h"
#include "resource_ids.h"

#include <gtest/gtest.h>

#include <commdlg.h>

#include <cstdlib>

namespace {

// Fills in the Sales Information dialog (noting the names it opened with) and answers the
// printer dialog, or the "no printer" box Wine shows in its place, as a person would.
struct PrintDialogs {
    PrintDialogs(const char* agent, const char* prospect, bool acceptPrinter)
        : sales("Kavlo - Sales Information",
                [this, agent, prospect](HWND dialog) {
                    GetDlgItemTextA(dialog, IDC_SALES_AGENT_NAME, shownAgent, sizeof(shownAgent));
                    GetDlgItemTextA(dialog, IDC_PROSPECT_NAME, shownProspect, sizeof(shownProspect));
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
    char shownAgent[256] = {}, shownProspect[256] = {};
    int printerDialogs = 0;
    std::string noPrinterText;
    DialogWatcher sales, print;
};

} // namespace

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
    for (const TestEntry* row = g_testTable; row->check; ++row) {
        const std::string name = row->name;
        g_results.push_back({row, 'A', name, "Summary of " + name, "Details of " + name + "."});
    }
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
        EXPECT_STREQ(dialogs.shownAgent, "Ann Agent");
        EXPECT_STREQ(dialogs.shownProspect, "Pat <Prospect> & Co");
    }
    std::ofstream(std::string(out) + "\\expected.txt") << "fingerprint=" << SystemFingerprintText(64) << "\n";
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
