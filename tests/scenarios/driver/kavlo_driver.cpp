// kavlo_driver: starts kavlo.exe, uses it as a person would and writes what it
// sees and does on standard output, one fact per line, the kind first, fields
// split by " | ". It judges nothing: the scenario runner compares.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "resource_ids.h"

namespace {

struct DriverOptions {
    std::string shotsFolder, cancelAt, closeAt, agent, prospect;
    std::vector<std::string> kavloArguments;  // after "--"
    bool byLogOff = false, allDetails = false, email = false, print = false;
    int barAtPercent = 0, clickRow = -1;
};

const char* const kUsage =
    "usage: kavlo_driver [--shots=DIR] [--cancel-at=CHECK] [--close-at=CHECK|verdict|about|sales-info|\n"
    "  print-dialog|mail] [--by-logoff] [--bar-at=P] [--click=N] [--details=all] [--email] [--print]\n"
    "  [--agent=NAME] [--prospect=NAME] [-- kavlo options]\n";

bool ParseDriverOptions(const std::vector<std::string>& arguments, DriverOptions& o)
{
    const std::map<std::string, std::string*> texts = {{"--shots", &o.shotsFolder}, {"--agent", &o.agent},
        {"--prospect", &o.prospect}, {"--cancel-at", &o.cancelAt}, {"--close-at", &o.closeAt}};
    const std::map<std::string, bool*> flags = {{"--by-logoff", &o.byLogOff}, {"--details=all", &o.allDetails},
        {"--email", &o.email}, {"--print", &o.print}};
    const std::map<std::string, int*> numbers = {{"--bar-at", &o.barAtPercent}, {"--click", &o.clickRow}};
    for (auto a = arguments.begin(); a != arguments.end(); ++a) {
        const size_t equals = a->find('=');
        const std::string name = a->substr(0, equals), value = equals == std::string::npos ? "" : a->substr(equals + 1);
        if (*a == "--")
            return o.kavloArguments.assign(a + 1, arguments.end()), true;
        if (flags.count(*a) != 0)
            *flags.at(*a) = true;
        else if (texts.count(name) != 0 && equals != std::string::npos)  // a name may be emptied
            *texts.at(name) = value;
        else if (numbers.count(name) != 0 && value.find_first_not_of("0123456789") == std::string::npos && !value.empty())
            *numbers.at(name) = std::atoi(value.c_str());
        else
            return false;
    }
    return o.barAtPercent < 100;
}

const std::string kTesting = "Testing: ";
// Put in the temporary folder before a close, which must leave it as it is.
const char* const kEarlierReport = "<html><body>Kavlo report of an earlier inspection</body></html>\r\n";
// Wine may take a while to bring a program up in a fresh session.
constexpr DWORD kStartMs = 60000, kWindowMs = 10000, kShotMs = 30000, kSettleMs = 300, kQuietMs = 2000;
constexpr DWORD kRunMs = 600000, kExitMs = 10000;

// A hung kavlo must not hang the driver, hence the time-out.
DWORD_PTR Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &answer);
    return answer;
}

std::string ControlText(HWND control)
{
    std::vector<char> buffer(Ask(control, WM_GETTEXTLENGTH) + 512, '\0');  // room for a text that grows
    Ask(control, WM_GETTEXT, buffer.size() - 1, reinterpret_cast<LPARAM>(buffer.data()));
    return buffer.data();
}

// Backslash, carriage return, line feed and tab become \\, \r, \n and \t.
std::string Escaped(const std::string& text)
{
    std::string escaped;
    for (char c : text)
        escaped += c == '\\' ? "\\\\" : c == '\r' ? "\\r" : c == '\n' ? "\\n" : c == '\t' ? "\\t" : std::string(1, c);
    return escaped;
}

std::string Text(HWND dialog, int id) { return Escaped(ControlText(GetDlgItem(dialog, id))); }

std::string NameOf(HWND window, bool className = false)
{
    char buffer[512] = {};
    className ? GetClassNameA(window, buffer, sizeof buffer) : GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

std::string Numbers(const RECT& r)
{
    return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + " " +
           std::to_string(r.bottom - r.top);
}

std::vector<HWND> TopWindowsOf(DWORD processId, bool visibleOnly = true)
{
    std::vector<HWND> windows;
    DWORD owner = 0;
    for (HWND window = GetTopWindow(nullptr); window != nullptr; window = GetWindow(window, GW_HWNDNEXT))
        if (GetWindowThreadProcessId(window, &owner) && owner == processId && (!visibleOnly || IsWindowVisible(window)))
            windows.push_back(window);
    return windows;
}

// Message boxes of Windows and of Wine keep their text in a static control
// with id 0xFFFF, which no dialog of kavlo uses, beside buttons and an icon.
bool LooksLikeMessageBox(HWND dialog)
{
    for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT))
        if (NameOf(c, true) != "Static" && NameOf(c, true) != "Button")
            return false;
    return GetDlgItem(dialog, 0xFFFF) != nullptr;
}

// A box's icon by its colours on screen: a tenth red (disc) or yellow (triangle).
std::string IconKindOnScreen(HWND box)
{
    RECT r = {};
    for (HWND c = GetWindow(box, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT))
        if (NameOf(c, true) == "Static" && (GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            GetWindowRect(c, &r);
    HDC screen = GetDC(nullptr);
    const int width = r.right - r.left, area = width * (r.bottom - r.top);
    int red = 0, yellow = 0;
    for (int i = 0; i < area; ++i) {
        const COLORREF c = GetPixel(screen, r.left + i % width, r.top + i / width);
        red += c != CLR_INVALID && GetRValue(c) > 150 && GetGValue(c) < 110 && GetBValue(c) < 110;
        yellow += c != CLR_INVALID && GetRValue(c) > 180 && GetGValue(c) > 150 && GetBValue(c) < 110;
    }
    ReleaseDC(nullptr, screen);
    return area <= 0 ? "unknown" : red * 10 > area && red > yellow ? "stop"
                               : yellow * 10 > area && yellow > red ? "exclamation" : "unknown";
}

// kavlo's results list: its answers need memory inside kavlo.
class RemoteList {
public:
    RemoteList(HANDLE process, HWND list) : process_(process), list_(list) {}
    ~RemoteList() { VirtualFreeEx(process_, block_, 0, MEM_RELEASE); }
    int Count() { return static_cast<int>(Ask(list_, LVM_GETITEMCOUNT)); }
    bool Selected(int item) { return (Ask(list_, LVM_GETITEMSTATE, item, LVIS_SELECTED) & LVIS_SELECTED) != 0; }
    bool ItemRect(int item, RECT& rect) { return Send(LVM_GETITEMRECT, item, &(rect = {LVIR_BOUNDS, 0, 0, 0})); }
    std::string Item(int item, int subItem)
    {
        LVITEMA request = {};
        request.iSubItem = subItem;
        request.pszText = block_ + kTextAt;
        request.cchTextMax = kTextAt;
        std::vector<char> text(kTextAt + 1, '\0');
        ReadProcessMemory(process_, block_ + kTextAt, text.data(), Send(LVM_GETITEMTEXTA, item, &request) ? kTextAt : 0,
                          nullptr);
        return text.data();
    }

private:
    static constexpr size_t kTextAt = 4096;
    template <typename Request> bool Send(UINT message, WPARAM index, Request* request)
    {
        const char empty = '\0';
        return block_ != nullptr && WriteProcessMemory(process_, block_, request, sizeof *request, nullptr) &&
               WriteProcessMemory(process_, block_ + kTextAt, &empty, 1, nullptr) &&
               Ask(list_, message, index, reinterpret_cast<LPARAM>(block_)) != 0 &&
               ReadProcessMemory(process_, block_, request, sizeof *request, nullptr);
    }
    HANDLE process_;
    HWND list_;
    char* block_ = static_cast<char*>(VirtualAllocEx(process_, nullptr, 2 * kTextAt, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
};

class Driver {
public:
    explicit Driver(const DriverOptions& options) : o_(options)
    {
        // The browser check's page and the report: kavlo's paths too.
        char folder[MAX_PATH + 1] = {};
        GetTempPathA(MAX_PATH, folder);
        probePage_ = std::string(folder) + "blank.html";
        report_ = std::string(folder) + "KavloReport.html";
    }

    int Run()
    {
        if (!o_.closeAt.empty()) {  // what an earlier run left must not count
            DeleteFileA(probePage_.c_str());
            if (!(std::ofstream(report_, std::ios::binary) << kEarlierReport))
                Failure("ERROR cannot write " + Escaped(report_));
        }
        if (Start() && MeetMainWindow() && FollowRun() && Verdict()) {
            Details();
            if (!closed_ && (o_.email || At("mail")))
                Email();
            if (!closed_ && (o_.print || At("sales-info") || At("print-dialog")))
                Print();
            if (!closed_)
                About();
            if (!closed_ && !o_.closeAt.empty())
                Failure("ERROR the moment " + Escaped(o_.closeAt) + " never came");
            if (!closed_ && Press("main", main_, IDCANCEL, "Close"))
                MarkShown();
        }
        WaitForEnd();
        Line(failures_ == 0 ? std::string("END ok") : "END failed " + std::to_string(failures_));
        return failures_ == 0 ? 0 : 1;
    }

private:
    // Starts kavlo and answers its welcome dialog.
    bool Start()
    {
        char self[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        std::string path = self;
        path.replace(path.find_last_of("\\/") + 1, std::string::npos, "kavlo.exe");  // beside the driver
        std::string line = "\"" + path + "\"";
        for (const std::string& argument : o_.kavloArguments)
            line += " \"" + argument + "\"";  // none of kavlo's options holds a quote
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION created = {};
        if (!CreateProcessA(path.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &created)) {
            Failure("ERROR cannot start " + Escaped(path) + " (error " + std::to_string(GetLastError()) + ")");
            return false;
        }
        CloseHandle(created.hThread);
        process_ = created.hProcess;
        processId_ = created.dwProcessId;
        lastActionTick_ = GetTickCount();
        Line("START " + Escaped(line));
        HWND welcome = Await("welcome", "Kavlo - Welcome", kStartMs);
        if (welcome == nullptr)
            return false;
        Screenshot("welcome");
        runStartTick_ = GetTickCount();
        return Press("welcome", welcome, IDOK, "OK");
    }

    bool MeetMainWindow()
    {
        main_ = Await("main", "Kavlo - System Analysis", kStartMs);
        progress_ = main_ != nullptr ? Await("progress", "Kavlo - Progress", kWindowMs) : nullptr;
        if (progress_ == nullptr)
            return false;
        RECT main = {}, work = {}, progress = {};
        GetWindowRect(main_, &main);
        GetWindowRect(progress_, &progress);
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        Line("GEOMETRY main | " + Numbers(main) + " | work " + Numbers(work));
        Line("GEOMETRY progress | " + Numbers(progress) + " | " +
             (GetWindow(progress_, GW_OWNER) == main_ ? "owned by main" : "not owned by main"));
        Line("TITLE_LINE " + Text(main_, IDC_MAIN_TITLE));
        return true;
    }

    // Follows the progress dialog to the verdict, with Cancel or close at a check.
    bool FollowRun()
    {
        bool cancelled = false, cancelArmed = false, closeArmed = false, seenBelowMark = false;
        const bool done = WaitUntil([&] {
            const std::string label = ControlText(GetDlgItem(progress_, IDC_PROGRESS_TEST_LABEL));
            if (label != label_ && label.compare(0, kTesting.size(), kTesting) == 0) {
                CheckTiming();
                const bool first = label_.empty();
                label_ = label;
                labelTick_ = GetTickCount();
                const std::string name = label.substr(kTesting.size());
                Line("TESTING " + Escaped(name));
                if (first)
                    Screenshot("progress");
                cancelArmed = !cancelled && name == o_.cancelAt;
                cancelled = cancelled || cancelArmed;
                closeArmed = name == o_.closeAt;
                seenBelowMark = false;
            }
            if ((cancelArmed || closeArmed) && IsWindow(progress_) && BarReached(seenBelowMark)) {
                if (cancelArmed)
                    Press("progress", progress_, IDCANCEL, "Cancel");
                cancelArmed = false;
                if (closeArmed)  // at once after a Cancel of the same check
                    return CloseAt();
            }
            for (HWND window : TopWindowsOf(processId_)) {
                if (LooksLikeMessageBox(window) && (NameOf(window) == "Approved" || NameOf(window) == "Failed"))
                    return (verdict_ = window) != nullptr;
                ReportAndDismissBox(window, "run-box");
            }
            return false;
        }, kRunMs);
        if (!done)
            GaveUp("the verdict", kRunMs);
        if (!done || closed_)
            return false;
        CheckTiming();
        Line("TIMING run | " + std::to_string(GetTickCount() - runStartTick_));
        return true;
    }

    // The check's own bar at --bar-at percent of its range but not full. It
    // keeps what the check before left until the armed check resets it, so it
    // must first be seen short of the mark.
    bool BarReached(bool& seenBelowMark)
    {
        if (o_.barAtPercent <= 0)
            return true;
        HWND bar = GetDlgItem(progress_, IDC_PROGRESS_CHECK_BAR);
        const unsigned long long position = Ask(bar, PBM_GETPOS), high = Ask(bar, PBM_GETRANGE, FALSE);
        const bool past = high > 0 && position * 100 >= high * o_.barAtPercent;
        const bool reached = seenBelowMark && past && position < high;
        seenBelowMark = seenBelowMark || !past;
        if (reached)
            Line("CHECK_PROGRESS " + std::to_string(position) + " of " + std::to_string(high) + " | " +
                    Text(progress_, IDC_PROGRESS_CHECK_LABEL));
        return reached;
    }

    void CheckTiming()  // how long the label shown last stood, until now
    {
        if (!label_.empty())
            Line("TIMING " + Escaped(label_.substr(kTesting.size())) + " | " +
                    std::to_string(GetTickCount() - labelTick_));
    }

    bool Verdict()
    {
        Sleep(kSettleMs);
        {  // its memory in kavlo is freed before a close: a free in a process that is ending can hang
            RemoteList list(process_, GetDlgItem(main_, IDC_MAIN_RESULTS));
            for (int row = 0, count = list.Count(); row < count; ++row)
                Line("ROW " + std::to_string(row) + " | " + Escaped(list.Item(row, 0)) + " | " +
                        Escaped(list.Item(row, 1)) + " | " + Escaped(list.Item(row, 2)));
        }
        Line("VERDICT " + Escaped(NameOf(verdict_)) + " | " + Text(verdict_, 0xFFFF));
        Line("VERDICT_ICON " + IconKindOnScreen(verdict_));
        Screenshot("verdict");
        if (At("verdict") || !Press("verdict", verdict_, IDOK, "OK"))
            return At("verdict") && !CloseAt();
        AwaitGone(verdict_, "the verdict box");
        WaitUntil([&] { return State(IDC_MAIN_PRINT)[0] == 'e' && State(IDC_MAIN_EMAIL)[0] == 'e'; }, kQuietMs);
        Line(std::string("BUTTON Print ") + State(IDC_MAIN_PRINT));
        Line(std::string("BUTTON Email ") + State(IDC_MAIN_EMAIL));
        return !Ended();
    }

    // The rows' details: every row, then --click.
    void Details()
    {
        RemoteList list(process_, GetDlgItem(main_, IDC_MAIN_RESULTS));
        for (int row = 0, count = list.Count(); o_.allDetails && row < count; ++row)
            ClickRow(list, row);
        if (o_.clickRow >= 0)
            ClickRow(list, o_.clickRow);
        Screenshot("main");
    }

    // A click in the row's name, by the button messages the mouse would bring.
    void ClickRow(RemoteList& list, int row)
    {
        RECT r = {};
        if (!list.ItemRect(row, r))
            return Failure("ERROR no row " + std::to_string(row) + " to click");
        const LPARAM at = MAKELPARAM(r.left + 200 < r.right ? r.left + 200 : (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        PostMessageA(GetDlgItem(main_, IDC_MAIN_RESULTS), WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(GetDlgItem(main_, IDC_MAIN_RESULTS), WM_LBUTTONUP, 0, at);
        WaitUntil([&] { return list.Selected(row); }, 1000);
        Sleep(kSettleMs);
        Line("DETAILS " + std::to_string(row) + " | " + Text(main_, IDC_MAIN_DETAILS));
    }

    void Email()
    {
        Press("main", main_, IDC_MAIN_EMAIL, "Email");
        if (!At("mail"))
            Await("email", nullptr, kWindowMs);
        else if (Await("mail", "Mail Stand-In - New Message", kWindowMs) != nullptr) {
            Screenshot("mail");
            CloseAt();
        }
    }

    void Print()
    {
        Press("main", main_, IDC_MAIN_PRINT, "Print");
        HWND info = Await("sales-info", "Kavlo - Sales Information", kWindowMs);
        if (info == nullptr || (At("sales-info") && CloseAt()))
            return;
        Ask(GetDlgItem(info, IDC_SALES_AGENT_NAME), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(o_.agent.c_str()));
        Ask(GetDlgItem(info, IDC_PROSPECT_NAME), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(o_.prospect.c_str()));
        Screenshot("sales-info");
        Press("sales-info", info, IDOK, "OK");
        // Without a printer Wine says so in a box titled "Print" instead.
        if (HWND print = Await("print", "Print", kWindowMs, true)) {
            std::string printer = ControlText(GetDlgItem(print, 1136));  // the printer's combo box
            printer = printer.empty() ? ControlText(GetDlgItem(print, 1139)) : printer;
            Line("PRINT_DIALOG printer | " + Escaped(printer));
            Screenshot("print-dialog");
            if ((At("print-dialog") && CloseAt()) || !Press("print", print, IDOK, "OK"))
                return;
        }
        Await("print", nullptr, kWindowMs);
    }

    void About()
    {
        Press("main", main_, IDC_MAIN_ABOUT, "About");
        HWND about = Await("about", "Kavlo - About Box", kWindowMs);
        if (about == nullptr)
            return;
        Line("ABOUT legal | " + Text(about, IDC_ABOUT_LEGAL));
        Screenshot("about");
        if (!(At("about") && CloseAt()) && Press("about", about, IDOK, "OK"))
            AwaitGone(about, "the About box");
    }

    void AwaitGone(HWND window, const std::string& what)
    {
        if (!WaitUntil([&] { return !IsWindow(window); }, kWindowMs))
            GaveUp(what + " to close", kWindowMs);
    }

    void GaveUp(const std::string& what, DWORD timeoutMs)
    {
        Failure(Ended() ? "ERROR kavlo ended while waiting for " + what
                        : "TIMEOUT waiting for " + what + " after " + std::to_string(timeoutMs) + " ms");
    }

    // Closes kavlo as the taskbar does (WM_CLOSE posted, whatever is open
    // over the main window) or as Windows does at log-off: it asks, then tells
    // the window that the session ends (TRUE when the answer let it).
    bool CloseAt()
    {
        MarkShown();
        lastActionTick_ = GetTickCount();
        if (!o_.byLogOff) {
            PostMessageA(main_, WM_CLOSE, 0, 0);
            Line("POST main WM_CLOSE");
            return true;
        }
        const DWORD_PTR answer = Ask(main_, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
        Line("SEND main WM_QUERYENDSESSION | answer " + std::to_string(answer));
        Ask(main_, WM_ENDSESSION, answer != 0, ENDSESSION_LOGOFF);
        Line("SEND main WM_ENDSESSION");
        return true;
    }

    void MarkShown()  // the windows up at the close; any other is written as it shows
    {
        closed_ = true;
        for (HWND window : TopWindowsOf(processId_))
            shownAtClose_.insert(window);
    }

    // Waits for kavlo to end, writing each window that shows; ends it if need be.
    void WaitForEnd()
    {
        if (process_ == nullptr)
            return;
        WaitUntil([&] {
            for (HWND window : TopWindowsOf(processId_))
                if (shownAtClose_.insert(window).second)
                    Line("SHOWN_AFTER_CLOSE " + Escaped(NameOf(window)));
            return false;
        }, kExitMs);
        DWORD code = 0;
        if (Ended() && GetExitCodeProcess(process_, &code)) {
            Line("EXIT " + std::to_string(static_cast<int>(code)) + " after " +
                    std::to_string(GetTickCount() - lastActionTick_) + " ms");
        } else {
            GaveUp("kavlo to end", kExitMs);
            TerminateProcess(process_, 1);
            WaitForSingleObject(process_, 5000);
        }
        if (o_.closeAt.empty())
            return;
        std::ifstream file(report_, std::ios::binary);
        const std::string report{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        Line("LEFT windows " + std::to_string(TopWindowsOf(processId_, false).size()) + " | blank.html " +
                Exists(probePage_) + " | KavloReport.html " +
                (!file.is_open() ? "gone" : report == kEarlierReport ? "same" : "changed"));
    }

    // Polls the condition until it holds, the time-out passes or kavlo ends.
    bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
    {
        for (const DWORD start = GetTickCount();; Sleep(5)) {
            if (condition())
                return true;
            if (Ended() || GetTickCount() - start >= timeoutMs)
                return false;
        }
    }

    // Waits for the window with this title, usable and staying (Wine's printer
    // dialog closes by itself without a printer), or without (or optional) for
    // the main window usable and alone a while, dismissing message boxes.
    HWND Await(const std::string& role, const char* title, DWORD timeoutMs, bool optional = false)
    {
        HWND found = nullptr;
        DWORD quietSince = GetTickCount();
        const bool done = WaitUntil([&] {
            bool alone = main_ != nullptr && IsWindowEnabled(main_);
            for (HWND window : TopWindowsOf(processId_)) {
                alone = alone && window == main_;
                if (!LooksLikeMessageBox(window) && title != nullptr && NameOf(window) == title &&
                    (!optional || IsWindowEnabled(window)) && (Sleep(kSettleMs), IsWindowVisible(window)))
                    return (found = window) != nullptr;
                ReportAndDismissBox(window, role + (title ? "-instead" : "-box"));
            }
            quietSince = alone ? quietSince : GetTickCount();
            return (title == nullptr || optional) && GetTickCount() - quietSince >= kQuietMs;
        }, timeoutMs);
        const std::string what = title ? "\"" + Escaped(title) + "\"" : "the main window alone (" + role + ")";
        if (found != nullptr)
            Line("WINDOW " + role + " | " + Escaped(title));
        else if (!done)
            GaveUp(what, timeoutMs);
        return found;
    }

    // Writes and dismisses a message box of kavlo the first time it is seen.
    void ReportAndDismissBox(HWND box, const std::string& shot)
    {
        if (box == main_ || !LooksLikeMessageBox(box) || !boxes_.insert(box).second)
            return;
        std::string text;  // a box can be visible a moment before its text is set
        Sleep(kSettleMs);
        WaitUntil([&] { return !(text = ControlText(GetDlgItem(box, 0xFFFF))).empty(); }, 2000);
        Line("BOX " + Escaped(NameOf(box)) + " | " + Escaped(text));
        Screenshot(shot);
        GetDlgItem(box, IDOK) != nullptr ? Click(GetDlgItem(box, IDOK)) : (void)PostMessageA(box, WM_CLOSE, 0, 0);
    }

    // The runner takes it on reading the line and answers with <shots>\<name>.ack.
    void Screenshot(const std::string& name)
    {
        const std::string ack = o_.shotsFolder + "\\" + name + ".ack";
        if (o_.shotsFolder.empty())
            return;
        DeleteFileA(ack.c_str());
        Line("SCREENSHOT " + name);
        for (const DWORD start = GetTickCount(); !DeleteFileA(ack.c_str()); Sleep(20))
            if (GetTickCount() - start >= kShotMs)
                return Failure("TIMEOUT waiting for screenshot " + name + " after " + std::to_string(kShotMs) + " ms");
    }

    // Posted, as a button that opens a modal dialog would keep a sender waiting.
    bool Press(const char* role, HWND dialog, int id, const char* name)
    {
        if (GetDlgItem(dialog, id) == nullptr) {
            Failure(std::string("ERROR no button ") + name + " in " + role);
            return false;
        }
        Click(GetDlgItem(dialog, id));
        Line(std::string("PRESS ") + role + " " + name);
        return true;
    }

    void Click(HWND button) { PostMessageA(button, BM_CLICK, 0, 0), lastActionTick_ = GetTickCount(); }
    const char* State(int id) { return IsWindowEnabled(GetDlgItem(main_, id)) ? "enabled" : "disabled"; }
    const char* Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES ? "yes" : "no"; }
    bool At(const char* moment) const { return o_.closeAt == moment; }
    bool Ended() { return WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }

    void Line(const std::string& text) { std::printf("%s\n", text.c_str()), std::fflush(stdout); }
    void Failure(const std::string& text) { ++failures_, Line(text); }

    const DriverOptions& o_;
    int failures_ = 0;
    std::string probePage_, report_, label_;
    HANDLE process_ = nullptr;
    DWORD processId_ = 0, lastActionTick_ = 0, runStartTick_ = 0, labelTick_ = 0;
    HWND main_ = nullptr, progress_ = nullptr, verdict_ = nullptr;
    bool closed_ = false;
    std::set<HWND> shownAtClose_, boxes_;
};

} // namespace

int main(int argc, char** argv)
{
    DriverOptions options;
    if (ParseDriverOptions(std::vector<std::string>(argv + 1, argv + argc), options))
        return Driver(options).Run();
    std::fputs(kUsage, stderr);
    return 2;
}
