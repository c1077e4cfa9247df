#include "report/report_commands_win32.h"

#include "app/app_globals_win32.h"
#include "app/results.h"
#include "app/settings.h"
#include "app/verdict.h"
#include "platform/scoped_win32.h"
#include "report/fingerprint.h"
#include "report/print_job.h"
#include "report/report_page.h"
#include "report/report_page_win32.h"
#include "report/report_timestamp.h"
#include "resource_ids.h"

#include <commdlg.h>

#include <algorithm>

namespace {

// The fonts of the current job, in the order of kReportFontSpecs, with the
// printer context they are selected into and that context's own font. They
// are deleted only after the context's own font is back in it, so none is
// ever deleted while selected.
ScopedGdiObject g_reportFonts[6];
HDC g_reportFontsDc = nullptr;
HGDIOBJ g_reportFontsDcFont = nullptr;

// ReportCanvas on a printer context.
class GdiReportCanvas : public ReportCanvas {
public:
    explicit GdiReportCanvas(HDC dc) : dc_(dc) {}

    void StartPage() override
    {
        ::StartPage(dc_);
        SetTextAlign(dc_, TA_LEFT | TA_TOP);
    }
    void EndPage() override { ::EndPage(dc_); }

    void SelectFont(int font) override { SelectObject(dc_, g_reportFonts[font - 1].Get()); }

    TextSize MeasureText(const std::string& text) override
    {
        SIZE size = {};
        GetTextExtentPoint32A(dc_, text.c_str(), static_cast<int>(text.size()), &size);
        return {size.cx, size.cy};
    }

    size_t FitCharacters(const char* text, size_t count, int maxWidth) override
    {
        if (maxWidth <= 0)
            return 0;
        INT fit = 0;
        SIZE size = {};
        if (!GetTextExtentExPointA(dc_, text, static_cast<int>(count), maxWidth, &fit, nullptr, &size))
            return 0;
        return static_cast<size_t>(std::max(fit, 0));
    }

    void DrawText(int x, int y, const char* text, size_t count) override
    {
        TextOutA(dc_, x, y, text, static_cast<int>(count));
    }

    void DrawLine(int x1, int y1, int x2, int y2) override
    {
        MoveToEx(dc_, x1, y1, nullptr);
        LineTo(dc_, x2, y2);
    }

    bool GetLogoSize(int& width, int& height) override
    {
        BITMAP bitmap = {};
        if (!g_logoBitmap || !GetObjectA(g_logoBitmap, sizeof(bitmap), &bitmap))
            return false;
        width = bitmap.bmWidth;
        height = bitmap.bmHeight;
        return width > 0 && height > 0;
    }

    bool DrawLogo(int x, int y, int width, int height) override
    {
        int bitmapWidth = 0;
        int bitmapHeight = 0;
        if (!GetLogoSize(bitmapWidth, bitmapHeight))
            return false;
        ScopedCreatedDc memory(CreateCompatibleDC(dc_));
        if (!memory)
            return false;
        HGDIOBJ previousBitmap = SelectObject(memory.Get(), g_logoBitmap);
        // HALFTONE keeps a photograph readable when it is shrunk or grown.
        const int previousMode = SetStretchBltMode(dc_, HALFTONE);
        SetBrushOrgEx(dc_, 0, 0, nullptr);
        const BOOL drawn =
            StretchBlt(dc_, x, y, width, height, memory.Get(), 0, 0, bitmapWidth, bitmapHeight, SRCCOPY);
        SetStretchBltMode(dc_, previousMode);
        SelectObject(memory.Get(), previousBitmap);
        return drawn != FALSE;
    }

private:
    HDC dc_;
};

PageMetrics PageMetricsOf(HDC printer)
{
    PageMetrics metrics;
    metrics.horzRes = GetDeviceCaps(printer, HORZRES);
    metrics.vertRes = GetDeviceCaps(printer, VERTRES);
    metrics.horzSizeMm = GetDeviceCaps(printer, HORZSIZE);
    metrics.vertSizeMm = GetDeviceCaps(printer, VERTSIZE);
    return metrics;
}

ReportPageContent GatherReportPageContent()
{
    ReportPageContent content;
    content.dateLine = FormatPrintedReportDate(CurrentReportTimestamp());
    content.versionText = FormatVersion(64, g_programVersion.productVersion);
    content.salesAgentName = g_salesAgentName;
    content.prospectName = g_prospectName;
    content.fingerprint = SystemFingerprintText(64);
    // The run is over when Print is enabled, so the results are read without the lock.
    content.results = g_results;
    const OverallVerdict verdict = ComputeOverallVerdict();
    content.verdictLetter = verdict.letter;
    content.verdictMessage = verdict.message;
    return content;
}

std::string DialogItemText(HWND dialog, int id)
{
    char text[256] = {};
    GetDlgItemTextA(dialog, id, text, sizeof(text));
    return text;
}

INT_PTR CALLBACK SalesInfoDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemTextA(dialog, IDC_SALES_AGENT_NAME, g_salesAgentName.c_str());
        SetDlgItemTextA(dialog, IDC_PROSPECT_NAME, g_prospectName.c_str());
        SendDlgItemMessageA(dialog, IDC_SALES_AGENT_NAME, EM_LIMITTEXT, 256, 0);
        SendDlgItemMessageA(dialog, IDC_PROSPECT_NAME, EM_LIMITTEXT, 256, 0);
        SetDialogTitle(dialog, "Sales Information");
        SetFocus(GetDlgItem(dialog, IDC_SALES_AGENT_NAME));
        return FALSE;  // the focus has been placed
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            g_salesAgentName = DialogItemText(dialog, IDC_SALES_AGENT_NAME);
            g_prospectName = DialogItemText(dialog, IDC_PROSPECT_NAME);
            EndDialog(dialog, 1);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

class Win32PrintJob : public PrintJobSteps {
public:
    explicit Win32PrintJob(HWND owner) : owner_(owner) {}

    bool AskForNames() override
    {
        HINSTANCE instance = g_hInstance ? g_hInstance : GetModuleHandleA(nullptr);
        return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SALES_INFO), owner_, SalesInfoDialogProc, 0) > 0;
    }

    bool ChoosePrinter() override
    {
        PRINTDLGA choice = {};
        choice.lStructSize = sizeof(choice);  // 66: the structure is packed
        choice.hwndOwner = owner_;
        choice.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION;
        choice.nFromPage = 1;
        choice.nToPage = 1;
        choice.nMinPage = 0;
        choice.nMaxPage = 0;
        choice.nCopies = 1;
        const BOOL chosen = PrintDlgA(&choice);
        // The dialog hands back its settings blocks; only the context is used.
        if (choice.hDevMode)
            GlobalFree(choice.hDevMode);
        if (choice.hDevNames)
            GlobalFree(choice.hDevNames);
        if (!chosen || !choice.hDC)
            return false;
        printer_.Reset(choice.hDC);
        return true;
    }

    bool PrinterCanDrawBitmaps() override { return (GetDeviceCaps(printer_.Get(), RASTERCAPS) & RC_BITBLT) != 0; }

    PageMetrics PrinterPageMetrics() override { return PageMetricsOf(printer_.Get()); }

    void ReleasePrinter() override { printer_.Reset(); }

    void ShowErrorBox(const char* text, const char* caption) override
    {
        MessageBoxA(owner_, text, caption, MB_ICONHAND | MB_SYSTEMMODAL);
    }

    void EnableOwner(bool enable) override
    {
        if (owner_)
            EnableWindow(owner_, enable ? TRUE : FALSE);
    }

    int StartDocument() override
    {
        DOCINFOA document = {};
        document.cbSize = sizeof(document);  // 20
        document.lpszDocName = "Kavlo Report";
        return StartDocA(printer_.Get(), &document);
    }

    void PrintPage() override
    {
        CreateReportFonts(printer_.Get());
        DrawReportPage(printer_.Get());
        DeleteReportFonts();
    }

    int EndDocument() override { return EndDoc(printer_.Get()); }

private:
    HWND owner_;
    ScopedCreatedDc printer_;
};

} // namespace

void CreateReportFonts(HDC printer)
{
    DeleteReportFonts();
    // Taken before any report font goes into the context.
    g_reportFontsDc = printer;
    g_reportFontsDcFont = GetCurrentObject(printer, OBJ_FONT);
    const PageMetrics metrics = PageMetricsOf(printer);
    for (int font = 1; font <= 6; ++font) {
        const ReportFontSpec& spec = kReportFontSpecs[font - 1];
        g_reportFonts[font - 1].Reset(CreateFontA(ReportFontHeight(metrics, font), 0, 0, 0, spec.weight, FALSE,
                                                  FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                                  CLIP_LH_ANGLES, DEFAULT_QUALITY, FF_MODERN | FIXED_PITCH,
                                                  spec.face));
    }
}

void DeleteReportFonts()
{
    if (g_reportFontsDc != nullptr && g_reportFontsDcFont != nullptr)
        SelectObject(g_reportFontsDc, g_reportFontsDcFont);
    g_reportFontsDc = nullptr;
    g_reportFontsDcFont = nullptr;
    for (ScopedGdiObject& font : g_reportFonts)
        font.Reset();
}

void DrawReportPage(HDC printer)
{
    const ReportPageContent content = GatherReportPageContent();
    GdiReportCanvas canvas(printer);
    DrawReportPage(canvas, PageMetricsOf(printer), content);
}

bool PrintReport(HWND owner)
{
    Win32PrintJob job(owner);
    return RunPrintJob(job);
}
