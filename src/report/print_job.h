// The print job around the page: the names, the printer, the capability test,
// the document and its error boxes. A sequence over one method per platform
// step so that every path can be driven in tests.
#pragma once

#include "report/report_page.h"

class PrintJobSteps {
public:
    virtual ~PrintJobSteps() = default;

    // The Sales Information dialog; false on Cancel.
    virtual bool AskForNames() = 0;
    // The printer dialog; false when it was cancelled or failed.
    virtual bool ChoosePrinter() = 0;
    virtual bool PrinterCanDrawBitmaps() = 0;
    // The printer's resolution and page size, as the page is laid out in them.
    virtual PageMetrics PrinterPageMetrics() = 0;
    virtual void ReleasePrinter() = 0;
    // A system-modal stop box owned by the owner window.
    virtual void ShowErrorBox(const char* text, const char* caption) = 0;
    virtual void EnableOwner(bool enable) = 0;
    // StartDocA's result: 0 or less on failure.
    virtual int StartDocument() = 0;
    // Fonts for this printer, the page, fonts deleted.
    virtual void PrintPage() = 0;
    // EndDoc's result: 0 or less on failure.
    virtual int EndDocument() = 0;
};

// True once a printer was chosen and accepted.
bool RunPrintJob(PrintJobSteps& steps);
