#include "report/print_job.h"

bool RunPrintJob(PrintJobSteps& steps)
{
    if (!steps.AskForNames())
        return false;
    if (!steps.ChoosePrinter())
        return false;
    // The logo is a bitmap; a printer that cannot take one is refused outright.
    // So is one whose driver gives no page size: nothing could be laid out
    // in millimetres of its page.
    if (!steps.PrinterCanDrawBitmaps() || !steps.PrinterPageMetrics().HasPageSize()) {
        steps.ReleasePrinter();
        steps.ShowErrorBox("Printer cannot display bitmaps.", "Device Error");
        return false;
    }

    // The owner stays disabled while the job runs so that Print cannot be
    // pressed again in the middle of it.
    steps.EnableOwner(false);
    if (steps.StartDocument() <= 0) {
        steps.ShowErrorBox("StartDoc", "error");
    } else {
        steps.PrintPage();
        if (steps.EndDocument() <= 0)
            steps.ShowErrorBox("EndDoc failed", "error");
    }
    steps.EnableOwner(true);
    steps.ReleasePrinter();
    return true;
}
