#include "report/print_job.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Scripted steps: each answer is set by the test, each call is recorded.
class ScriptedPrintJob : public PrintJobSteps {
public:
    bool namesGiven = true;
    bool printerChosen = true;
    bool bitmaps = true;
    int startDoc = 1;
    int endDoc = 1;
    std::vector<std::string> calls;

    bool AskForNames() override { return Call("names"), namesGiven; }
    bool ChoosePrinter() override { return Call("printer"), printerChosen; }
    bool PrinterCanDrawBitmaps() override { return Call("bitmaps"), bitmaps; }
    void ReleasePrinter() override { Call("release"); }
    void ShowErrorBox(const char* text, const char* caption) override
    {
        Call(std::string("box ") + text + " / " + caption);
    }
    void EnableOwner(bool enable) override { Call(enable ? "enable" : "disable"); }
    int StartDocument() override { return Call("startdoc"), startDoc; }
    void PrintPage() override { Call("page"); }
    int EndDocument() override { return Call("enddoc"), endDoc; }

private:
    void Call(const std::string& name) { calls.push_back(name); }
};

using Calls = std::vector<std::string>;

} // namespace

TEST(PrintJob_Sequence, EveryPath)
{
    struct Case {
        const char* name;
        void (*script)(ScriptedPrintJob&);
        bool result;
        Calls calls;
    };
    const Case cases[] = {
        {"printed", [](ScriptedPrintJob&) {}, true,
         {"names", "printer", "bitmaps", "disable", "startdoc", "page", "enddoc", "enable", "release"}},
        {"cancel in the names dialog", [](ScriptedPrintJob& j) { j.namesGiven = false; }, false, {"names"}},
        {"cancel in the printer dialog", [](ScriptedPrintJob& j) { j.printerChosen = false; }, false,
         {"names", "printer"}},
        {"no bitmaps", [](ScriptedPrintJob& j) { j.bitmaps = false; }, false,
         {"names", "printer", "bitmaps", "release", "box Printer cannot display bitmaps. / Device Error"}},
        {"StartDoc fails", [](ScriptedPrintJob& j) { j.startDoc = -1; }, true,
         {"names", "printer", "bitmaps", "disable", "startdoc", "box StartDoc / error", "enable", "release"}},
        {"EndDoc fails", [](ScriptedPrintJob& j) { j.endDoc = 0; }, true,
         {"names", "printer", "bitmaps", "disable", "startdoc", "page", "enddoc", "box EndDoc failed / error",
          "enable", "release"}},
        {"EndDoc negative", [](ScriptedPrintJob& j) { j.endDoc = -1; }, true,
         {"names", "printer", "bitmaps", "disable", "startdoc", "page", "enddoc", "box EndDoc failed / error",
          "enable", "release"}},
    };
    for (const Case& c : cases) {
        ScriptedPrintJob job;
        c.script(job);
        EXPECT_EQ(RunPrintJob(job), c.result) << c.name;
        EXPECT_EQ(job.calls, c.calls) << c.name;
    }
}
