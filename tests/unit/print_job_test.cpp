#include "report/print_job.h"

#include <gtest/gtest.h>

namespace {

// Answers as scripted and writes down each step taken, in order.
struct ScriptedPrintJob : PrintJobSteps {
    bool names = true, printer = true, bitmaps = true;
    int startDoc = 1, endDoc = 1;
    std::string steps;

    bool Step(const std::string& step, bool answer = true) { return steps += step + ";", answer; }
    bool AskForNames() override { return Step("names", names); }
    bool ChoosePrinter() override { return Step("printer", printer); }
    bool PrinterCanDrawBitmaps() override { return Step("bitmaps", bitmaps); }
    void ReleasePrinter() override { Step("release"); }
    void ShowErrorBox(const char* text, const char* caption) override { Step(std::string(caption) + ": " + text); }
    void EnableOwner(bool enable) override { Step(enable ? "enable" : "disable"); }
    int StartDocument() override { return Step("startdoc"), startDoc; }
    void PrintPage() override { Step("page"); }
    int EndDocument() override { return Step("enddoc"), endDoc; }
};

} // namespace

TEST(PrintJob_Sequence, EveryPathAndErrorBox)
{
    const std::tuple<void (*)(ScriptedPrintJob&), bool, const char*> cases[] = {  // script, printed, steps
        {[](ScriptedPrintJob&) {}, true, "names;printer;bitmaps;disable;startdoc;page;enddoc;enable;release;"},
        {[](ScriptedPrintJob& j) { j.names = false; }, false, "names;"},
        {[](ScriptedPrintJob& j) { j.printer = false; }, false, "names;printer;"},
        {[](ScriptedPrintJob& j) { j.bitmaps = false; }, false,
         "names;printer;bitmaps;release;Device Error: Printer cannot display bitmaps.;"},
        {[](ScriptedPrintJob& j) { j.startDoc = -1; }, true,
         "names;printer;bitmaps;disable;startdoc;error: StartDoc;enable;release;"},
        {[](ScriptedPrintJob& j) { j.endDoc = 0; }, true,
         "names;printer;bitmaps;disable;startdoc;page;enddoc;error: EndDoc failed;enable;release;"},
        {[](ScriptedPrintJob& j) { j.endDoc = -1; }, true,
         "names;printer;bitmaps;disable;startdoc;page;enddoc;error: EndDoc failed;enable;release;"},
    };
    for (const auto& [script, printed, steps] : cases) {
        ScriptedPrintJob job;
        script(job);
        EXPECT_EQ(RunPrintJob(job), printed) << steps;
        EXPECT_EQ(job.steps, steps);
    }
}
