// kavlo_driver: runs kavlo.exe as a person would, in the same Wine session
// (or on Windows), and writes what it sees as a transcript on standard output.
//
// Transcript: one fact per line, the kind first, then fields separated by
// " | ". Texts are escaped (\\, \r, \n, \t) so that every fact is one line.
// Rows and columns count from 0 (row 3 is the fourth row, "IE Version").
//
//   START <command line>                  kavlo.exe was started
//   WINDOW <role> | <title>               a window appeared; roles: welcome,
//                                         main, progress, sales-info, print, about
//   TEXT welcome | <text>                 the welcome pane (1017)
//   SCREENSHOT <name>                     (with --shots) the script should take a
//                                         screenshot now; the driver waits for
//                                         <shots>\<name>.ack
//   PRESS <role> <button>                 a button was pressed (BM_CLICK)
//   HOLD worker | RELEASE worker          the worker thread was stopped/let go
//   HOLD failed                           the worker could not be caught
//   GEOMETRY main | <x> <y> <w> <h> | work <x> <y> <w> <h>
//                                         the main window against the work area
//   GEOMETRY progress | <x> <y> <w> <h> | owned by main|not owned by main
//   TITLE_LINE <text>                     the main window's title line (1009)
//   COLUMN <i> | <title> | <width>        a results list column
//   DURING_RUN print <state> | email <state>   buttons while the run goes on
//   TESTING <name>                        "Testing: <name>" showed in the
//                                         progress dialog (only the ones seen)
//   PROGRESS_BAR <pos> of <high>          the progress bar (1000) when captured
//   CHECK_PROGRESS <pos> of <high> | <label>   (with --bar-at) the check's own
//                                         bar (1002) and label (1003) when the
//                                         planned Cancel or Close was done
//   TIMING <name> | <ms>                  how long a check's label stood
//                                         (a check too short to be seen
//                                         counts with the one before it)
//   TIMING run | <ms>                     from the worker's start (OK, or its
//                                         last release) to the verdict box
//   ROWS <n>                              number of rows in the results list
//   ROW <i> | <letter> | <name> | <summary>
//   PROGRESS_AFTER_RUN gone|shown         whether the progress dialog went away
//   VERDICT <caption> | <text>            the verdict message box
//   VERDICT_ICON stop|exclamation|unknown the colours of its icon on screen
//   BUTTON <Print|Email> enabled|disabled
//   FOCUS <text of the focused control> | <id>
//   DETAILS_BEFORE_CLICK | <text>         the details pane (1013) before any click
//   CLICK <i> | by mouse|by message | selected yes|no
//   DETAILS <i> | <text>                  the details pane after clicking row i
//   KEY down | selected <i>               the Down key moved the selection
//   DETAILS_AFTER_KEY | <text>            the pane after that (must not change)
//   LAYOUT <id> | <l> <t> <r> <b>         (with --resize) a control's rectangle
//                                         in the main window's client area
//   BOX <caption> | <text>                a message box showed (and was dismissed)
//   QUIET <email|print>                   after Email or Print the main window
//                                         was usable and alone again
//   FILL <agent|prospect> | <text>        a Sales Information field was filled
//   PRINT_DIALOG printer | <name>         the printer dialog, with its printer
//   ABOUT <product|legal|version> | <text>
//   ABOUT <escape|closebox> | open|closed what Escape and the close box did
//   CLOSE main                            the main window's Close was pressed
//   EXIT <code> after <ms> ms             kavlo ended; ms since the Close (or
//                                         since the last action before the end)
//   ENDED <when>                          kavlo ended while the driver waited
//   TIMEOUT <what> after <ms> ms          a wait gave up (counted as a failure)
//   ERROR <what>                          something went wrong (a failure)
//   END ok | END failed <n>               the driver's verdict; exit code 0 or 1
//
// With --case (repeatable) the driver starts kavlo once for each case, in
// turn, and ends it as the case says; each case opens with CASE <name> and
// ends with its EXIT and LEFT lines. Every case but the log-off closes kavlo
// with the main window's Close button or a posted WM_CLOSE, as the taskbar
// does; those after Disk Speed press Cancel as soon as its label shows, which
// ends the ten-second benchmark at once.
//   start:<check>   Close at the start of that check (StepToCheck)
//   verdict         WM_CLOSE while the verdict box is up
//   after-verdict   Close right after the verdict box was dismissed
//   about           WM_CLOSE while About is open
//   sales-info      WM_CLOSE while Sales Information (Print) is open
//   print-dialog    WM_CLOSE while the printer dialog is open
//   mail            WM_CLOSE while the mail client shows its window (the mail
//                   stand-in with KAVLO_MAIL_STAY_OPEN=1)
//   cancel-disk     Cancel once Disk Speed has made its file, Close once the
//                   next check shows
//   logoff-disk     log-off once Disk Speed has made its file:
//                   WM_QUERYENDSESSION, then WM_ENDSESSION (TRUE)
// Lines of a case besides those above:
//   CASE <name>                           kavlo is started afresh for the case
//   WINDOW mail | <title>                 the mail client's window
//   WINDOW verdict | <caption>            the verdict box
//   POST main WM_CLOSE                    posted to the main window
//   SEND main WM_QUERYENDSESSION | answer <n>
//   SEND main WM_ENDSESSION
//   AT kavlo.tmp yes|no | blank.html yes|no   the files when kavlo was closed
//   SHOWN_AFTER_CLOSE <title>             a window of kavlo showed after that
//                                         (a failure)
//   LEFT windows <n> | kavlo.tmp yes|no | blank.html yes|no | KavloReport.html same|changed|gone
//                                         after kavlo ended: its top-level
//                                         windows, Disk Speed's file, the
//                                         browser check's page, and the report
//                                         the driver put in the temporary
//                                         folder before the case
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "driver_options.h"
#include "platform/scoped_win32.h"
#include "resource_ids.h"
#include "target_windows.h"
#include "transcript.h"
#include "worker_hold.h"

namespace {

const char* const kWelcomeTitle = "Kavlo - Welcome";
const char* const kMainTitle = "Kavlo - System Analysis";
const char* const kProgressTitle = "Kavlo - Progress";
const char* const kAboutTitle = "Kavlo - About Box";
const char* const kSalesInfoTitle = "Kavlo - Sales Information";
const char* const kPrintTitle = "Print";
const char* const kTestingPrefix = "Testing: ";
const char* const kMailTitle = "Mail Stand-In - New Message";
const char* const kAtCheckCase = "start:";
// What stands in the temporary folder before each case, as a report e-mailed
// in an earlier run would: closing must leave it as it is.
const char* const kEarlierReport = "<html><body>Kavlo report of an earlier inspection</body></html>\r\n";

// Wine may take a while to bring a program up in a fresh session.
constexpr DWORD kStartTimeoutMs = 60000;
constexpr DWORD kWindowTimeoutMs = 10000;
constexpr DWORD kShotTimeoutMs = 30000;
constexpr DWORD kSettleMs = 300;
constexpr DWORD kQuietMs = 2000;
// Stepping the worker through the checks before a case's check.
constexpr DWORD kStepTimeoutMs = 60000;

std::string Quote(const std::string& argument)
{
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos)
        return argument;
    std::string quoted = "\"";
    for (char c : argument) {
        if (c == '"')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

int EndOfTranscript(Transcript& transcript)
{
    if (transcript.Failures() == 0) {
        transcript.Line("END ok");
        return 0;
    }
    transcript.Line("END failed " + std::to_string(transcript.Failures()));
    return 1;
}

std::string DriverFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    const size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

const char* YesNo(bool yes)
{
    return yes ? "yes" : "no";
}

// The whole file, or false when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& text)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return false;
    text.clear();
    char buffer[4096];
    for (size_t count; (count = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        text.append(buffer, count);
    std::fclose(file);
    return true;
}

bool WriteWholeFile(const std::string& path, const std::string& text)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

// The files a run makes or meets: Disk Speed's benchmark file in the common
// application-data folder, the browser check's page and the e-mailed report
// in the temporary folder. The driver runs as the same user in the same
// prefix, so these are kavlo's paths too.
struct RunFiles {
    std::string benchmark, probePage, report;
};

RunFiles FindRunFiles()
{
    RunFiles files;
    char folder[MAX_PATH + 1] = {};
    if (SHGetSpecialFolderPathA(nullptr, folder, CSIDL_COMMON_APPDATA, FALSE))
        files.benchmark = std::string(folder) + "\\kavlo.tmp";
    const DWORD length = GetTempPathA(MAX_PATH, folder);
    if (length > 0 && length <= MAX_PATH) {
        files.probePage = std::string(folder) + "blank.html";
        files.report = std::string(folder) + "KavloReport.html";
    }
    return files;
}

struct WindowCount {
    DWORD processId;
    int windows;
};

BOOL CALLBACK CountWindowOf(HWND window, LPARAM state)
{
    auto* count = reinterpret_cast<WindowCount*>(state);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == count->processId)
        ++count->windows;
    return TRUE;
}

// Top-level windows of the process, shown or not.
int CountTopWindowsOf(DWORD processId)
{
    WindowCount count{processId, 0};
    EnumWindows(CountWindowOf, reinterpret_cast<LPARAM>(&count));
    return count.windows;
}

class Driver {
public:
    Driver(const DriverOptions& options, Transcript& transcript, std::string caseName = std::string())
        : options_(options), transcript_(transcript), case_(std::move(caseName))
    {
    }
    int Run();
    void RunCase();

private:
    bool Start();
    bool Welcome();
    bool MeetMainWindow();
    bool FollowRun();
    bool AfterVerdict();
    void ClickRows();
    void Resize();
    void PressEmail();
    void PressPrint();
    void OpenAbout();
    void CloseMain();
    void WaitForEnd();
    int Finish();

    bool StepToCheck(const std::string& name);
    bool ReadWhileHeld(HWND control, HANDLE windowThread, std::string& text);
    bool ReachDiskSpeedFile(const std::string& benchmark);
    bool OpenForCase();
    void ActOnCase();
    void PostClose();
    void LogOff();
    std::string ShotName(const char* when) const;

    bool Ended() { return WaitForSingleObject(process_.Get(), 0) == WAIT_OBJECT_0; }
    HWND WaitForWindow(const char* role, const std::string& title, DWORD timeoutMs);
    bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);
    void Screenshot(const std::string& name);
    void Press(const char* role, HWND dialog, int id, const char* name);
    void DismissBox(HWND box);
    bool ReportBox(HWND box);
    void WatchBoxes(const char* role, DWORD timeoutMs);
    void CaptureProgress();
    void ReportProgressBar();
    void ReportCheckTime();
    bool CheckBarReached();
    void ReadCheckBar(DWORD& position, DWORD& high);
    void ReportCheckProgress();
    void ReportRows();
    std::string DetailsText();
    void ClickRow(int row);
    void ReportFocus();
    bool HoldWanted() const
    {
        if (!case_.empty())
            return options_.hold && case_.compare(0, strlen(kAtCheckCase), kAtCheckCase) == 0;
        return options_.hold && !options_.shotsFolder.empty();
    }

    const DriverOptions& options_;
    Transcript& transcript_;
    const std::string case_;
    ScopedHandle process_;
    DWORD processId_ = 0;
    HWND main_ = nullptr;
    HWND progress_ = nullptr;
    HWND verdict_ = nullptr;
    WorkerHold hold_;
    DWORD lastActionTick_ = 0;
    std::string lastLabel_;
    DWORD lastLabelTick_ = 0;
    DWORD runStartTick_ = 0;   // the worker free to run: OK pressed, or its last release
    bool barSeenBelowMark_ = false;  // --bar-at: the armed check's bar seen reset
    bool closed_ = false;
};

int Driver::Run()
{
    if (Start() && Welcome() && MeetMainWindow() && FollowRun() && AfterVerdict()) {
        ClickRows();
        Resize();
        if (options_.email)
            PressEmail();
        if (options_.print)
            PressPrint();
        OpenAbout();
        CloseMain();
    }
    return Finish();
}

bool Driver::Start()
{
    std::string path = options_.kavloPath.empty() ? DriverFolder() + "kavlo.exe" : options_.kavloPath;
    std::string commandLine = Quote(path);
    for (const std::string& argument : options_.kavloArguments)
        commandLine += " " + Quote(argument);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION created = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &created)) {
        transcript_.Failure("ERROR cannot start " + path + " (error " + std::to_string(GetLastError()) + ")");
        return false;
    }
    process_.Reset(created.hProcess);
    CloseHandle(created.hThread);
    processId_ = created.dwProcessId;
    lastActionTick_ = GetTickCount();
    transcript_.Line("START " + commandLine);
    return true;
}

bool Driver::Welcome()
{
    HWND welcome = WaitForWindow("welcome", kWelcomeTitle, kStartTimeoutMs);
    if (welcome == nullptr)
        return false;
    transcript_.Line("TEXT welcome | " + EscapeForTranscript(ControlText(GetDlgItem(welcome, IDC_WELCOME_TEXT))));
    Sleep(kSettleMs);
    Screenshot("welcome");
    if (options_.cancelWelcome) {
        Press("welcome", welcome, IDCANCEL, "Cancel");
        // The main window must never show: watch for it until kavlo ends.
        WaitUntil([&] {
            if (main_ == nullptr && (main_ = FindTopWindow(processId_, kMainTitle)) != nullptr)
                transcript_.Line(std::string("WINDOW main | ") + kMainTitle);
            return false;
        }, options_.exitTimeoutMs);
        return false;
    }
    const bool hold = HoldWanted() && hold_.Attach(processId_, kWindowTimeoutMs);
    Press("welcome", welcome, IDOK, "OK");
    runStartTick_ = GetTickCount();
    if (HoldWanted()) {
        const bool caught = hold && hold_.CatchWorker([&] { return FindTopWindow(processId_, kProgressTitle) != nullptr; },
                                                      kWindowTimeoutMs);
        transcript_.Line(caught ? "HOLD worker" : "HOLD failed");
    }
    return true;
}

bool Driver::MeetMainWindow()
{
    main_ = WaitForWindow("main", kMainTitle, kStartTimeoutMs);
    if (main_ == nullptr)
        return false;
    // Set-up happens before the window shows; give the first paint a moment.
    Sleep(kSettleMs);
    RECT window = {}, work = {};
    GetWindowRect(main_, &window);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    char geometry[160];
    std::snprintf(geometry, sizeof geometry, "GEOMETRY main | %ld %ld %ld %ld | work %ld %ld %ld %ld", window.left,
                  window.top, window.right - window.left, window.bottom - window.top, work.left, work.top,
                  work.right - work.left, work.bottom - work.top);
    transcript_.Line(geometry);
    transcript_.Line("TITLE_LINE " + EscapeForTranscript(ControlText(GetDlgItem(main_, IDC_MAIN_TITLE))));
    RemoteListView list(process_.Get(), GetDlgItem(main_, IDC_MAIN_RESULTS));
    for (int column = 0;; ++column) {
        std::string title;
        int width = 0;
        if (!list.Column(column, title, width))
            break;
        transcript_.Line("COLUMN " + std::to_string(column) + " | " + EscapeForTranscript(title) + " | " +
                         std::to_string(width));
    }
    progress_ = FindTopWindow(processId_, kProgressTitle);
    if (progress_ != nullptr) {
        transcript_.Line(std::string("WINDOW progress | ") + kProgressTitle);
        RECT rect = {};
        GetWindowRect(progress_, &rect);
        std::snprintf(geometry, sizeof geometry, "GEOMETRY progress | %ld %ld %ld %ld | %s", rect.left, rect.top,
                      rect.right - rect.left, rect.bottom - rect.top,
                      GetWindow(progress_, GW_OWNER) == main_ ? "owned by main" : "not owned by main");
        transcript_.Line(geometry);
    }
    if (hold_.IsCaught() || progress_ != nullptr) {
        auto state = [&](int id) {
            return IsWindowEnabled(GetDlgItem(main_, id)) ? std::string("enabled") : std::string("disabled");
        };
        transcript_.Line("DURING_RUN print " + state(IDC_MAIN_PRINT) + " | email " + state(IDC_MAIN_EMAIL));
    }
    return true;
}

// Watches the progress dialog until the verdict box shows.
bool Driver::FollowRun()
{
    if (hold_.IsCaught())
        CaptureProgress();
    bool cancelled = false;
    bool shotTaken = hold_.IsCaught();
    // The Cancel or Close planned for a check, armed when its label shows and
    // done once the check's own bar has come far enough (--bar-at).
    bool cancelArmed = false, closeArmed = false;
    std::string armedFor;
    std::set<HWND> reported;
    const bool found = WaitUntil([&] {
        if (progress_ != nullptr && IsWindow(progress_)) {
            const std::string label = ControlText(GetDlgItem(progress_, IDC_PROGRESS_TEST_LABEL));
            if (label != lastLabel_ && label.compare(0, strlen(kTestingPrefix), kTestingPrefix) == 0) {
                ReportCheckTime();
                lastLabel_ = label;
                lastLabelTick_ = GetTickCount();
                const std::string name = label.substr(strlen(kTestingPrefix));
                transcript_.Line("TESTING " + EscapeForTranscript(name));
                if (!shotTaken && !options_.shotsFolder.empty()) {
                    shotTaken = true;
                    Screenshot("progress");
                }
                if ((cancelArmed || closeArmed) && name != armedFor) {
                    transcript_.Failure("ERROR the bar of " + EscapeForTranscript(armedFor) + " never reached " +
                                        std::to_string(options_.barAtPercent) + "%");
                    cancelArmed = closeArmed = false;
                }
                if (name == options_.cancelAt || name == options_.closeAt)
                    barSeenBelowMark_ = false;
                if (!cancelled && name == options_.cancelAt) {
                    cancelled = cancelArmed = true;
                    armedFor = name;
                }
                if (!options_.closeAt.empty() && name == options_.closeAt) {
                    closeArmed = true;
                    armedFor = name;
                }
            }
            if ((cancelArmed || closeArmed) && CheckBarReached()) {
                if (options_.barAtPercent > 0)
                    ReportCheckProgress();
                if (cancelArmed) {
                    cancelArmed = false;
                    Press("progress", progress_, IDCANCEL, "Cancel");
                }
                // A Close planned for the same check follows the Cancel at
                // once: the cancelled check may end before the next look.
                if (closeArmed) {
                    if (options_.closeByLogOff) {
                        LogOff();
                        closed_ = true;
                    } else {
                        CloseMain();
                    }
                    return true;
                }
            }
        }
        for (HWND window : VisibleTopWindowsOf(processId_)) {
            if (window == main_ || window == progress_ || !LooksLikeMessageBox(window))
                continue;
            const std::string caption = TitleOf(window);
            if (caption == "Approved" || caption == "Failed") {
                verdict_ = window;
                return true;
            }
            if (reported.insert(window).second && ReportBox(window))
                DismissBox(window);
        }
        return false;
    }, options_.runTimeoutMs);
    if (closed_)
        return false;
    if (!found) {
        if (Ended())
            transcript_.Failure("ENDED waiting for the verdict");
        else
            transcript_.Failure("TIMEOUT waiting for the verdict after " + std::to_string(options_.runTimeoutMs) + " ms");
        return false;
    }
    ReportCheckTime();
    transcript_.Line("TIMING run | " + std::to_string(GetTickCount() - runStartTick_));
    return true;
}

// How long the check whose label showed last has run (until now, when the
// next label or the verdict shows). A check too short to be seen counts
// with the one before it.
void Driver::ReportCheckTime()
{
    if (lastLabel_.compare(0, strlen(kTestingPrefix), kTestingPrefix) != 0)
        return;
    transcript_.Line("TIMING " + EscapeForTranscript(lastLabel_.substr(strlen(kTestingPrefix))) + " | " +
                     std::to_string(GetTickCount() - lastLabelTick_));
}

// The check's own bar (1002) at or past --bar-at percent of its range, but
// not full. The bar keeps what the check before left (Disk Speed ends near
// its top) until the armed check resets it, so the bar must first be seen
// below the mark after arming.
bool Driver::CheckBarReached()
{
    DWORD position = 0, high = 0;
    if (options_.atFullBar) {
        // The upload is written and its answer awaited.
        ReadCheckBar(position, high);
        return high > 0 && position >= high;
    }
    if (options_.barAtPercent <= 0)
        return true;
    ReadCheckBar(position, high);
    const bool pastMark = high > 0 && static_cast<unsigned long long>(position) * 100 >=
                                          static_cast<unsigned long long>(high) * options_.barAtPercent;
    if (!barSeenBelowMark_) {
        barSeenBelowMark_ = !pastMark;
        return false;
    }
    return pastMark && position < high;
}

void Driver::ReadCheckBar(DWORD& position, DWORD& high)
{
    HWND bar = GetDlgItem(progress_, IDC_PROGRESS_CHECK_BAR);
    DWORD_PTR pos = 0, top = 0;
    SendMessageTimeoutA(bar, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 2000, &pos);
    SendMessageTimeoutA(bar, PBM_GETRANGE, FALSE, 0, SMTO_ABORTIFHUNG, 2000, &top);
    position = static_cast<DWORD>(pos);
    high = static_cast<DWORD>(top);
}

void Driver::ReportCheckProgress()
{
    DWORD position = 0, high = 0;
    ReadCheckBar(position, high);
    transcript_.Line("CHECK_PROGRESS " + std::to_string(position) + " of " + std::to_string(high) + " | " +
                     EscapeForTranscript(ControlText(GetDlgItem(progress_, IDC_PROGRESS_CHECK_LABEL))));
}

// With the worker held at its start: let it run until the label shows a
// check, stop it there for the screenshot, then let it finish.
void Driver::CaptureProgress()
{
    if (!options_.shotsFolder.empty() && progress_ != nullptr) {
        HWND label = GetDlgItem(progress_, IDC_PROGRESS_TEST_LABEL);
        hold_.Release();
        transcript_.Line("RELEASE worker");
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < kWindowTimeoutMs && IsWindow(label) &&
               ControlText(label).compare(0, strlen(kTestingPrefix), kTestingPrefix) != 0) {
        }
        hold_.Hold();
        std::string text;
        ReadWhileHeld(label, nullptr, text);
        transcript_.Line("HOLD worker");
        if (IsWindow(progress_)) {
            if (text.compare(0, strlen(kTestingPrefix), kTestingPrefix) == 0 && text != lastLabel_) {
                lastLabel_ = text;
                transcript_.Line("TESTING " + EscapeForTranscript(text.substr(strlen(kTestingPrefix))));
            }
            ReportProgressBar();
            RedrawWindow(progress_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            Sleep(kSettleMs);
            Screenshot("progress");
        }
    }
    hold_.Release();
    runStartTick_ = lastLabelTick_ = GetTickCount();
    transcript_.Line("RELEASE worker");
}

void Driver::ReportProgressBar()
{
    HWND bar = GetDlgItem(progress_, IDC_PROGRESS_TESTS);
    DWORD_PTR position = 0, high = 0;
    SendMessageTimeoutA(bar, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 2000, &position);
    SendMessageTimeoutA(bar, PBM_GETRANGE, FALSE, 0, SMTO_ABORTIFHUNG, 2000, &high);
    transcript_.Line("PROGRESS_BAR " + std::to_string(position) + " of " + std::to_string(high));
}

// One case of the closing matrix (the cases: the head of this file): kavlo
// is brought to the case's moment, closed, and what it leaves is reported.
void Driver::RunCase()
{
    transcript_.Line("CASE " + case_);
    static const std::set<std::string> kCases = {"verdict",      "after-verdict", "about",      "sales-info",
                                                 "print-dialog", "mail",          "cancel-disk", "logoff-disk"};
    const bool atCheck = case_.compare(0, strlen(kAtCheckCase), kAtCheckCase) == 0;
    if (!atCheck && kCases.count(case_) == 0) {
        transcript_.Failure("ERROR unknown case " + EscapeForTranscript(case_));
        return;
    }
    const RunFiles files = FindRunFiles();
    // Whatever an earlier case left must not count for this one.
    DeleteFileA(files.benchmark.c_str());
    DeleteFileA(files.probePage.c_str());
    if (!WriteWholeFile(files.report, kEarlierReport))
        transcript_.Failure("ERROR cannot write " + EscapeForTranscript(files.report));

    bool ready = Start() && Welcome() && (main_ = WaitForWindow("main", kMainTitle, kStartTimeoutMs)) != nullptr &&
                 (progress_ = WaitForWindow("progress", kProgressTitle, kWindowTimeoutMs)) != nullptr;
    if (ready && atCheck)
        ready = StepToCheck(case_.substr(strlen(kAtCheckCase)));
    else if (ready && (case_ == "cancel-disk" || case_ == "logoff-disk"))
        ready = ReachDiskSpeedFile(files.benchmark);
    else if (ready)
        ready = OpenForCase();
    if (ready) {
        Sleep(kSettleMs);
        Screenshot(ShotName("before"));
        const std::vector<HWND> shown = VisibleTopWindowsOf(processId_);
        const std::set<HWND> before(shown.begin(), shown.end());
        transcript_.Line(std::string("AT kavlo.tmp ") + YesNo(FileExists(files.benchmark)) + " | blank.html " +
                         YesNo(FileExists(files.probePage)));
        ActOnCase();
        // Nothing may show between the close and the end: no verdict, no
        // error box, no window of a check that went on.
        std::set<HWND> reported;
        WaitUntil([&] {
            for (HWND window : VisibleTopWindowsOf(processId_)) {
                if (before.count(window) == 0 && reported.insert(window).second)
                    transcript_.Failure("SHOWN_AFTER_CLOSE " + EscapeForTranscript(TitleOf(window)));
            }
            return false;
        }, options_.exitTimeoutMs);
    }
    WaitForEnd();
    std::string report;
    const char* reportState = !ReadWholeFile(files.report, report) ? "gone"
                              : report == kEarlierReport           ? "same"
                                                                   : "changed";
    transcript_.Line("LEFT windows " + std::to_string(processId_ != 0 ? CountTopWindowsOf(processId_) : 0) +
                     " | kavlo.tmp " + YesNo(FileExists(files.benchmark)) + " | blank.html " +
                     YesNo(FileExists(files.probePage)) + " | KavloReport.html " + reportState);
    if (ready)
        Screenshot(ShotName("after"));
}

namespace {

struct TextQuestion {
    HWND control = nullptr;
    std::string text;
};

DWORD WINAPI AskForText(void* param)
{
    auto* question = static_cast<std::shared_ptr<TextQuestion>*>(param);
    (*question)->text = ControlText((*question)->control);
    delete question;
    return 0;
}

} // namespace

// Reads a control's text while the worker is held. Under Wine the worker may
// have been stopped inside a system call that keeps one of kavlo's own locks
// (the heap's, the window system's); the window thread then waits for that
// lock and answers nothing, and a SendMessageTimeout to it may never return,
// time-out or not. So the text is asked for on a thread of the driver's own,
// and while no answer has come the worker goes on a little (a step, with the
// window thread stopped meanwhile, when one is given) and is held again,
// until the lock is free. False when no answer came in kWindowTimeoutMs; the
// asking thread then keeps the question to itself.
bool Driver::ReadWhileHeld(HWND control, HANDLE windowThread, std::string& text)
{
    auto question = std::make_shared<TextQuestion>();
    question->control = control;
    auto* shared = new std::shared_ptr<TextQuestion>(question);
    ScopedHandle asker(CreateThread(nullptr, 0, AskForText, shared, 0, nullptr));
    if (!asker) {
        delete shared;
        return false;
    }
    DWORD sliceMs = 1;
    const DWORD start = GetTickCount();
    while (WaitForSingleObject(asker.Get(), 100) == WAIT_TIMEOUT) {
        if (GetTickCount() - start >= kWindowTimeoutMs || Ended())
            return false;
        if (!hold_.Step(windowThread, sliceMs))
            return false;
        sliceMs = sliceMs < 32 ? sliceMs * 2 : sliceMs;
    }
    text = question->text;
    return true;
}

// Lets the held worker go a step at a time (WorkerHold::Step) until the
// progress dialog's label names the check. "At the start" of a check thus
// means: its label shows, the worker has just set it and stands before the
// check's first call; the Close is pressed then and the worker let go with
// it, so the check begins while kavlo handles the Close, as it would for a
// person pressing Close the moment the label appears.
bool Driver::StepToCheck(const std::string& name)
{
    if (!hold_.IsCaught()) {
        transcript_.Failure("ERROR the worker is not held: cannot step it to " + EscapeForTranscript(name));
        return false;
    }
    ScopedHandle windowThread(OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetWindowThreadProcessId(main_, nullptr)));
    HWND label = GetDlgItem(progress_, IDC_PROGRESS_TEST_LABEL);
    std::string shown;
    ReadWhileHeld(label, windowThread.Get(), shown);
    // A step that changes nothing may have stopped the worker inside a
    // check: the next one gives it longer. Many such steps in a row may mean
    // that the worker waits for something the stopped window thread holds
    // (a lock rather than a message); then one step lets both run.
    DWORD sliceMs = 1;
    int unchanged = 0;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kStepTimeoutMs && !Ended() && IsWindow(progress_)) {
        const bool workerAlone = ++unchanged % 20 == 0;
        if (!hold_.Step(workerAlone ? nullptr : windowThread.Get(), workerAlone ? 1 : sliceMs)) {
            transcript_.Failure("ERROR cannot step the worker");
            return false;
        }
        // Answered once the window thread has handled what the worker sent.
        std::string text;
        if (!ReadWhileHeld(label, windowThread.Get(), text))
            continue;
        if (text == shown) {
            sliceMs = sliceMs < 32 ? sliceMs * 2 : sliceMs;
            continue;
        }
        shown = text;
        sliceMs = 1;
        unchanged = 0;
        if (text.compare(0, strlen(kTestingPrefix), kTestingPrefix) != 0)
            continue;
        const std::string check = text.substr(strlen(kTestingPrefix));
        transcript_.Line("TESTING " + EscapeForTranscript(check));
        if (check == name)
            return true;
        if (check == options_.cancelAt)
            Press("progress", progress_, IDCANCEL, "Cancel");
    }
    transcript_.Failure("ERROR the label of " + EscapeForTranscript(name) + " never showed");
    return false;
}

// Runs freely until Disk Speed measures: its label shows and its file is there.
bool Driver::ReachDiskSpeedFile(const std::string& benchmark)
{
    HWND label = GetDlgItem(progress_, IDC_PROGRESS_TEST_LABEL);
    const std::string wanted = std::string(kTestingPrefix) + "Disk Speed";
    bool labelSeen = false;
    const bool measuring = WaitUntil([&] {
        if (!labelSeen && ControlText(label) == wanted) {
            labelSeen = true;
            transcript_.Line("TESTING Disk Speed");
        }
        return labelSeen && FileExists(benchmark);
    }, kStartTimeoutMs);
    if (!measuring)
        transcript_.Failure("TIMEOUT waiting for Disk Speed's file " + EscapeForTranscript(benchmark));
    return measuring;
}

// Runs to the verdict and opens what the case closes kavlo over.
bool Driver::OpenForCase()
{
    if (!FollowRun())
        return false;
    transcript_.Line("WINDOW verdict | " + EscapeForTranscript(TitleOf(verdict_)));
    if (case_ == "verdict")
        return true;
    DismissBox(verdict_);
    if (!WaitUntil([&] { return !IsWindow(verdict_); }, kWindowTimeoutMs)) {
        transcript_.Failure("TIMEOUT waiting for the verdict box to close");
        return false;
    }
    if (case_ == "after-verdict")
        return true;
    if (case_ == "about") {
        Press("main", main_, IDC_MAIN_ABOUT, "About");
        return WaitForWindow("about", kAboutTitle, kWindowTimeoutMs) != nullptr;
    }
    if (case_ == "mail") {
        Press("main", main_, IDC_MAIN_EMAIL, "Email");
        return WaitForWindow("mail", kMailTitle, kWindowTimeoutMs) != nullptr;
    }
    Press("main", main_, IDC_MAIN_PRINT, "Print");
    HWND info = WaitForWindow("sales-info", kSalesInfoTitle, kWindowTimeoutMs);
    if (info == nullptr || case_ == "sales-info")
        return info != nullptr;
    Press("sales-info", info, IDOK, "OK");
    HWND print = nullptr;
    const bool dialog = WaitUntil([&] {
        print = FindTopWindow(processId_, kPrintTitle);
        return print != nullptr && !LooksLikeMessageBox(print) && GetDlgItem(print, IDOK) != nullptr;
    }, kWindowTimeoutMs);
    if (!dialog) {
        if (print != nullptr && LooksLikeMessageBox(print))
            ReportBox(print);
        transcript_.Failure("ERROR no printer dialog showed");
        return false;
    }
    transcript_.Line(std::string("WINDOW print | ") + kPrintTitle);
    return true;
}

void Driver::ActOnCase()
{
    if (case_.compare(0, strlen(kAtCheckCase), kAtCheckCase) == 0) {
        CloseMain();
        hold_.Release();
        transcript_.Line("RELEASE worker");
    } else if (case_ == "after-verdict") {
        CloseMain();
    } else if (case_ == "cancel-disk") {
        Press("progress", progress_, IDCANCEL, "Cancel");
        // The measurement ends early and the run goes on: Close once the
        // next check shows.
        HWND label = GetDlgItem(progress_, IDC_PROGRESS_TEST_LABEL);
        const std::string measuring = std::string(kTestingPrefix) + "Disk Speed";
        std::string text;
        if (WaitUntil([&] { return (text = ControlText(label)) != measuring; }, kWindowTimeoutMs))
            transcript_.Line("TESTING " + EscapeForTranscript(text.substr(strlen(kTestingPrefix))));
        else
            transcript_.Failure("TIMEOUT waiting for Disk Speed to end after Cancel");
        CloseMain();
    } else if (case_ == "logoff-disk") {
        LogOff();
    } else {
        PostClose();
    }
}

// As the taskbar closes a window: WM_CLOSE posted, whatever is open over it.
void Driver::PostClose()
{
    lastActionTick_ = GetTickCount();
    PostMessageA(main_, WM_CLOSE, 0, 0);
    transcript_.Line("POST main WM_CLOSE");
}

// As Windows logs the user off: it asks the window, then tells it the
// session ends (TRUE when the answer let it).
void Driver::LogOff()
{
    lastActionTick_ = GetTickCount();
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(main_, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &answer);
    transcript_.Line("SEND main WM_QUERYENDSESSION | answer " + std::to_string(answer));
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(main_, WM_ENDSESSION, answer != 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &ignored);
    transcript_.Line("SEND main WM_ENDSESSION");
}

// "start:Disk Speed" and "before" give "start-disk-speed-before".
std::string Driver::ShotName(const char* when) const
{
    std::string name;
    for (char c : case_ + "-" + when)
        name += std::isalnum(static_cast<unsigned char>(c)) ? static_cast<char>(std::tolower(static_cast<unsigned char>(c))) : '-';
    return name;
}

bool Driver::AfterVerdict()
{
    Sleep(kSettleMs);
    ReportRows();
    transcript_.Line(std::string("PROGRESS_AFTER_RUN ") +
                     (progress_ != nullptr && IsWindow(progress_) && IsWindowVisible(progress_) ? "shown" : "gone"));
    transcript_.Line("VERDICT " + EscapeForTranscript(TitleOf(verdict_)) + " | " +
                     EscapeForTranscript(MessageBoxText(verdict_)));
    transcript_.Line("VERDICT_ICON " + IconKindOnScreen(MessageBoxIcon(verdict_)));
    Screenshot("verdict");
    DismissBox(verdict_);
    if (!WaitUntil([&] { return !IsWindow(verdict_); }, kWindowTimeoutMs)) {
        transcript_.Failure("TIMEOUT waiting for the verdict box to close after " + std::to_string(kWindowTimeoutMs) +
                            " ms");
        return false;
    }
    HWND print = GetDlgItem(main_, IDC_MAIN_PRINT);
    HWND email = GetDlgItem(main_, IDC_MAIN_EMAIL);
    WaitUntil([&] { return IsWindowEnabled(print) && IsWindowEnabled(email); }, kQuietMs);
    Sleep(kSettleMs);
    transcript_.Line(std::string("BUTTON Print ") + (IsWindowEnabled(print) ? "enabled" : "disabled"));
    transcript_.Line(std::string("BUTTON Email ") + (IsWindowEnabled(email) ? "enabled" : "disabled"));
    ReportFocus();
    return !Ended();
}

void Driver::ReportRows()
{
    RemoteListView list(process_.Get(), GetDlgItem(main_, IDC_MAIN_RESULTS));
    const int count = list.Count();
    transcript_.Line("ROWS " + std::to_string(count));
    for (int row = 0; row < count; ++row) {
        transcript_.Line("ROW " + std::to_string(row) + " | " + EscapeForTranscript(list.ItemText(row, 0)) + " | " +
                         EscapeForTranscript(list.ItemText(row, 1)) + " | " +
                         EscapeForTranscript(list.ItemText(row, 2)));
    }
}

void Driver::ReportFocus()
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    const DWORD uiThread = GetWindowThreadProcessId(main_, nullptr);
    if (!GetGUIThreadInfo(uiThread, &info) || info.hwndFocus == nullptr) {
        transcript_.Line("FOCUS none | 0");
        return;
    }
    transcript_.Line("FOCUS " + EscapeForTranscript(ControlText(info.hwndFocus)) + " | " +
                     std::to_string(GetDlgCtrlID(info.hwndFocus)));
}

std::string Driver::DetailsText()
{
    return EscapeForTranscript(ControlText(GetDlgItem(main_, IDC_MAIN_DETAILS)));
}

void Driver::ClickRows()
{
    HWND listWindow = GetDlgItem(main_, IDC_MAIN_RESULTS);
    RemoteListView list(process_.Get(), listWindow);
    const int count = list.Count();
    transcript_.Line("DETAILS_BEFORE_CLICK | " + DetailsText());
    if (options_.clickRow >= count) {
        transcript_.Failure("ERROR no row " + std::to_string(options_.clickRow) + " to click");
        return;
    }
    ClickRow(options_.clickRow);
    // The pane follows clicks only: moving the selection with the keyboard
    // must leave it as it is.
    if (options_.clickRow + 1 < count) {
        PostMessageA(listWindow, WM_KEYDOWN, VK_DOWN, 0x00500001);
        PostMessageA(listWindow, WM_KEYUP, VK_DOWN, 0xC0500001);
        Sleep(kSettleMs);
        int selected = -1;
        for (int row = 0; row < count; ++row) {
            if (list.IsSelected(row))
                selected = row;
        }
        transcript_.Line("KEY down | selected " + std::to_string(selected));
        transcript_.Line("DETAILS_AFTER_KEY | " + DetailsText());
    }
    if (options_.allDetails) {
        for (int row = 0; row < count; ++row)
            ClickRow(row);
        ClickRow(options_.clickRow);
    }
    Screenshot("main");
}

// A real click in the middle of the row's name; when the pointer cannot be
// moved there (no input on this display), the list gets the button messages
// themselves, which takes it through the same NM_CLICK notification.
void Driver::ClickRow(int row)
{
    HWND listWindow = GetDlgItem(main_, IDC_MAIN_RESULTS);
    RemoteListView list(process_.Get(), listWindow);
    RECT rect = {};
    if (!list.ItemRect(row, rect)) {
        transcript_.Failure("ERROR cannot find row " + std::to_string(row) + " on screen");
        return;
    }
    POINT point = {rect.left + 200, (rect.top + rect.bottom) / 2};
    if (point.x >= rect.right)
        point.x = (rect.left + rect.right) / 2;
    POINT screen = point;
    ClientToScreen(listWindow, &screen);
    SetForegroundWindow(main_);
    std::string how = "by mouse";
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    if (width > 1 && height > 1) {
        INPUT inputs[3] = {};
        for (INPUT& input : inputs) {
            input.type = INPUT_MOUSE;
            input.mi.dx = MulDiv(screen.x, 65535, width - 1);
            input.mi.dy = MulDiv(screen.y, 65535, height - 1);
        }
        inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        SendInput(3, inputs, sizeof(INPUT));
        WaitUntil([&] { return list.IsSelected(row); }, 1000);
    }
    if (!list.IsSelected(row)) {
        how = "by message";
        const LPARAM where = MAKELPARAM(point.x, point.y);
        PostMessageA(listWindow, WM_LBUTTONDOWN, MK_LBUTTON, where);
        PostMessageA(listWindow, WM_LBUTTONUP, 0, where);
        WaitUntil([&] { return list.IsSelected(row); }, 1000);
    }
    Sleep(kSettleMs);
    transcript_.Line("CLICK " + std::to_string(row) + " | " + how + " | selected " +
                     (list.IsSelected(row) ? "yes" : "no"));
    transcript_.Line("DETAILS " + std::to_string(row) + " | " + DetailsText());
}

void Driver::Resize()
{
    if (options_.resizeWidth <= 0 || options_.resizeHeight <= 0)
        return;
    // Centred in the work area, so that the whole window stays in sight.
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int left = work.left + (work.right - work.left - options_.resizeWidth) / 2;
    const int top = work.top + (work.bottom - work.top - options_.resizeHeight) / 2;
    SetWindowPos(main_, nullptr, left, top, options_.resizeWidth, options_.resizeHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    Sleep(kSettleMs);
    RECT window = {};
    GetWindowRect(main_, &window);
    transcript_.Line("GEOMETRY resized | " + std::to_string(window.left) + " " + std::to_string(window.top) + " " +
                     std::to_string(window.right - window.left) + " " + std::to_string(window.bottom - window.top));
    const int ids[] = {IDC_MAIN_TITLE, IDC_MAIN_RESULTS, IDC_MAIN_DETAILS, IDC_MAIN_PRINT,
                       IDC_MAIN_EMAIL, IDC_MAIN_ABOUT,   IDCANCEL};
    for (int id : ids) {
        RECT rect = {};
        GetWindowRect(GetDlgItem(main_, id), &rect);
        MapWindowPoints(nullptr, main_, reinterpret_cast<POINT*>(&rect), 2);
        transcript_.Line("LAYOUT " + std::to_string(id) + " | " + std::to_string(rect.left) + " " +
                         std::to_string(rect.top) + " " + std::to_string(rect.right) + " " +
                         std::to_string(rect.bottom));
    }
    RECT client = {};
    GetClientRect(main_, &client);
    transcript_.Line("LAYOUT client | 0 0 " + std::to_string(client.right) + " " + std::to_string(client.bottom));
    Screenshot("resized");
}

void Driver::PressEmail()
{
    Press("main", main_, IDC_MAIN_EMAIL, "Email");
    WatchBoxes("email", kWindowTimeoutMs);
}

void Driver::PressPrint()
{
    Press("main", main_, IDC_MAIN_PRINT, "Print");
    HWND info = WaitForWindow("sales-info", kSalesInfoTitle, kWindowTimeoutMs);
    if (info == nullptr)
        return;
    SetControlText(GetDlgItem(info, IDC_SALES_AGENT_NAME), options_.agentName);
    SetControlText(GetDlgItem(info, IDC_PROSPECT_NAME), options_.prospectName);
    transcript_.Line("FILL agent | " + EscapeForTranscript(ControlText(GetDlgItem(info, IDC_SALES_AGENT_NAME))));
    transcript_.Line("FILL prospect | " + EscapeForTranscript(ControlText(GetDlgItem(info, IDC_PROSPECT_NAME))));
    Screenshot("sales-info");
    Press("sales-info", info, IDOK, "OK");
    // Wine shows a box titled "Print" first when there is no printer, then
    // (or straight away) the printer dialog with the same title.
    bool accepted = false;
    const DWORD start = GetTickCount();
    while (!accepted && GetTickCount() - start < kWindowTimeoutMs && !Ended()) {
        HWND print = FindTopWindow(processId_, kPrintTitle);
        if (print == nullptr) {
            if (IsWindowEnabled(main_) && FindTopWindow(processId_, kSalesInfoTitle) == nullptr &&
                GetTickCount() - start > kQuietMs)
                break;
            Sleep(20);
            continue;
        }
        Sleep(kSettleMs);
        // Without a printer, Wine's printer dialog closes again by itself
        // right after its box; there is nothing left to answer then.
        if (!IsWindow(print) || GetDlgItem(print, IDOK) == nullptr)
            continue;
        if (LooksLikeMessageBox(print)) {
            ReportBox(print);
            DismissBox(print);
            WaitUntil([&] { return !IsWindow(print); }, kWindowTimeoutMs);
            continue;
        }
        transcript_.Line(std::string("WINDOW print | ") + kPrintTitle);
        // The printer's name stands in the dialog's printer combo box.
        std::string printer;
        for (int id : {1136, 1139}) {
            if (HWND combo = GetDlgItem(print, id); combo != nullptr && printer.empty())
                printer = ControlText(combo);
        }
        transcript_.Line("PRINT_DIALOG printer | " + EscapeForTranscript(printer));
        Screenshot("print-dialog");
        Press("print", print, IDOK, "OK");
        accepted = true;
    }
    WatchBoxes("print", kWindowTimeoutMs);
}

// Reports and dismisses every message box that shows until the main window
// has been usable and alone for a while.
void Driver::WatchBoxes(const char* role, DWORD timeoutMs)
{
    std::set<HWND> seen;
    DWORD quietSince = GetTickCount();
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs && !Ended()) {
        bool others = false;
        for (HWND window : VisibleTopWindowsOf(processId_)) {
            if (window == main_)
                continue;
            others = true;
            if (LooksLikeMessageBox(window) && seen.insert(window).second) {
                Sleep(kSettleMs);
                ReportBox(window);
                Screenshot(std::string(role) + "-box");
                DismissBox(window);
            }
        }
        if (others || !IsWindowEnabled(main_))
            quietSince = GetTickCount();
        if (GetTickCount() - quietSince >= kQuietMs) {
            transcript_.Line(std::string("QUIET ") + role);
            return;
        }
        Sleep(20);
    }
    if (!Ended()) {
        for (HWND window : VisibleTopWindowsOf(processId_)) {
            if (window != main_)
                transcript_.Failure("ERROR still open after " + std::string(role) + ": " +
                                    EscapeForTranscript(TitleOf(window)));
        }
    }
}

void Driver::OpenAbout()
{
    Press("main", main_, IDC_MAIN_ABOUT, "About");
    HWND about = WaitForWindow("about", kAboutTitle, kWindowTimeoutMs);
    if (about == nullptr)
        return;
    Sleep(kSettleMs);
    transcript_.Line("ABOUT product | " + EscapeForTranscript(ControlText(GetDlgItem(about, IDC_ABOUT_PRODUCT))));
    transcript_.Line("ABOUT legal | " + EscapeForTranscript(ControlText(GetDlgItem(about, IDC_ABOUT_LEGAL))));
    transcript_.Line("ABOUT version | " + EscapeForTranscript(ControlText(GetDlgItem(about, IDC_ABOUT_VERSION))));
    Screenshot("about");
    // Only OK closes the About box: Escape and the close box leave it open.
    HWND ok = GetDlgItem(about, IDOK);
    PostMessageA(ok, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageA(ok, WM_KEYUP, VK_ESCAPE, 0xC0010001);
    Sleep(kSettleMs);
    transcript_.Line(std::string("ABOUT escape | ") + (IsWindow(about) ? "open" : "closed"));
    if (IsWindow(about)) {
        PostMessageA(about, WM_SYSCOMMAND, SC_CLOSE, 0);
        Sleep(kSettleMs);
        transcript_.Line(std::string("ABOUT closebox | ") + (IsWindow(about) ? "open" : "closed"));
    }
    if (IsWindow(about)) {
        Press("about", about, IDOK, "OK");
        if (!WaitUntil([&] { return !IsWindow(about); }, kWindowTimeoutMs))
            transcript_.Failure("TIMEOUT waiting for the About box to close after " +
                                std::to_string(kWindowTimeoutMs) + " ms");
    }
}

void Driver::CloseMain()
{
    if (main_ == nullptr || !IsWindow(main_))
        return;
    Press("main", main_, IDCANCEL, "Close");
    transcript_.Line("CLOSE main");
    closed_ = true;
}

int Driver::Finish()
{
    WaitForEnd();
    return EndOfTranscript(transcript_);
}

void Driver::WaitForEnd()
{
    if (process_) {
        const DWORD timeout = options_.exitTimeoutMs;
        if (WaitForSingleObject(process_.Get(), timeout) == WAIT_OBJECT_0) {
            const DWORD elapsed = GetTickCount() - lastActionTick_;
            DWORD code = 0;
            GetExitCodeProcess(process_.Get(), &code);
            transcript_.Line("EXIT " + std::to_string(static_cast<int>(code)) + " after " + std::to_string(elapsed) +
                             " ms");
        } else {
            transcript_.Failure("TIMEOUT waiting for kavlo to end after " + std::to_string(timeout) + " ms");
            // The driver started it, so the driver ends it: no run may be
            // left behind to disturb the next one.
            TerminateProcess(process_.Get(), 1);
            WaitForSingleObject(process_.Get(), 5000);
        }
    }
}

HWND Driver::WaitForWindow(const char* role, const std::string& title, DWORD timeoutMs)
{
    HWND found = nullptr;
    std::set<HWND> reported;
    const bool shown = WaitUntil([&] {
        found = FindTopWindow(processId_, title);
        if (found != nullptr)
            return true;
        // A message box instead of the window (an error at start-up, say) is
        // what a person would read before anything else.
        for (HWND window : VisibleTopWindowsOf(processId_)) {
            if (window != main_ && LooksLikeMessageBox(window) && reported.insert(window).second) {
                Sleep(kSettleMs);
                ReportBox(window);
                Screenshot(std::string(role) + "-instead");
                DismissBox(window);
            }
        }
        return false;
    }, timeoutMs);
    if (shown) {
        transcript_.Line(std::string("WINDOW ") + role + " | " + title);
        return found;
    }
    if (Ended())
        transcript_.Failure(std::string("ENDED waiting for ") + role);
    else
        transcript_.Failure("TIMEOUT waiting for \"" + title + "\" after " + std::to_string(timeoutMs) + " ms");
    return nullptr;
}

// Polls the condition until it holds, the time-out passes or kavlo ends.
bool Driver::WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (Ended() || GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(5);
    }
}

void Driver::Screenshot(const std::string& name)
{
    if (options_.shotsFolder.empty())
        return;
    const std::string ack = options_.shotsFolder + "\\" + name + ".ack";
    DeleteFileA(ack.c_str());
    transcript_.Line("SCREENSHOT " + name);
    const DWORD start = GetTickCount();
    while (GetFileAttributesA(ack.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount() - start >= kShotTimeoutMs) {
            transcript_.Failure("TIMEOUT waiting for screenshot " + name + " after " + std::to_string(kShotTimeoutMs) +
                                " ms");
            return;
        }
        Sleep(20);
    }
    DeleteFileA(ack.c_str());
}

void Driver::Press(const char* role, HWND dialog, int id, const char* name)
{
    HWND button = GetDlgItem(dialog, id);
    if (button == nullptr) {
        transcript_.Failure(std::string("ERROR no button ") + name + " in " + role);
        return;
    }
    PressButton(button);
    lastActionTick_ = GetTickCount();
    transcript_.Line(std::string("PRESS ") + role + " " + name);
}

bool Driver::ReportBox(HWND box)
{
    // A box can be visible a moment before its text is set.
    std::string text;
    WaitUntil([&] { return !(text = MessageBoxText(box)).empty(); }, 2000);
    transcript_.Line("BOX " + EscapeForTranscript(TitleOf(box)) + " | " + EscapeForTranscript(text));
    return true;
}

// A message box goes away with its OK button, or Cancel, or its first button.
void Driver::DismissBox(HWND box)
{
    for (int id : {IDOK, IDCANCEL, IDYES, IDNO, IDABORT, IDRETRY, IDIGNORE}) {
        if (HWND button = GetDlgItem(box, id); button != nullptr && IsWindowVisible(button)) {
            PressButton(button);
            lastActionTick_ = GetTickCount();
            return;
        }
    }
    PostMessageA(box, WM_CLOSE, 0, 0);
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    DriverOptions options;
    std::string error;
    if (!ParseDriverOptions(arguments, options, error)) {
        std::fprintf(stderr, "kavlo_driver: %s\n%s", error.c_str(), g_driverUsage);
        return 2;
    }
    Transcript transcript;
    if (options.cases.empty()) {
        Driver driver(options, transcript);
        return driver.Run();
    }
    // The cases past Disk Speed need no measurement: Cancel ends it at once.
    DriverOptions caseOptions = options;
    caseOptions.cancelAt = "Disk Speed";
    for (const std::string& name : options.cases) {
        Driver driver(caseOptions, transcript, name);
        driver.RunCase();
    }
    return EndOfTranscript(transcript);
}
