// Shared pieces of the report tests: test records, files, and a watcher that
// answers message boxes by their caption.
#pragma once

#include "app/test_result.h"
#include "app/test_table.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

// Three rows: approved, failed (with markup characters), informational.
std::vector<TestResult> SampleResults();

std::string ReadWholeFile(const std::string& path);
std::string FolderOfThisProgram();
std::string TempFolder();   // GetTempPathA, ending in a backslash
// A fresh, empty folder under the temporary folder.
std::string FreshTempFolder(const char* name);

// A top-level window that stands in for the main window.
class OwnerWindow {
public:
    OwnerWindow();
    ~OwnerWindow();
    HWND Get() const { return window_; }

private:
    HWND window_;
};

// Watches for a top-level dialog with the given caption on another thread,
// records its text and owner, and presses its OK button.
class BoxAnswerer {
public:
    explicit BoxAnswerer(const char* caption);
    ~BoxAnswerer();
    // Stops watching; true when a box was seen.
    bool Finish();

    std::string text;
    HWND owner = nullptr;
    std::atomic<int> seen{0};

private:
    void Watch();
    std::string caption_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};



inline std::vector<TestResult> SampleResults()
{
    // Rows of the real table, so that the verdict counts them: Memory (3),
    // USB 2.0 (15) and CPU (11) are all required.
    auto make = [](TestStatus status, const char* name, const char* summary, const char* details) {
        TestResult result;
        for (const TestEntry* row = g_testTable; row->check; ++row)
            if (std::string(row->name) == name)
                result.entry = row;
        result.status = status;
        result.name = name;
        result.summary = summary;
        result.details = details;
        return result;
    };
    return {
        make('A', "Memory", "2048 MB", "At least 1024 MB of memory is required."),
        make('F', "USB 2.0", "No <USB 2.0> controller", "Devices found: \"Generic & Co\" hub\nPlug in a USB 2.0 card."),
        make('I', "CPU", "x86 Family 6", ""),
    };
}

inline std::string ReadWholeFile(const std::string& path)
{
    std::string text;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof(buffer), file)) > 0)
            text.append(buffer, n);
        std::fclose(file);
    }
    return text;
}

inline std::string FolderOfThisProgram()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

inline std::string TempFolder()
{
    char path[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, path);
    return path;
}

inline std::string FreshTempFolder(const char* name)
{
    const std::string folder = TempFolder() + name;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((folder + "\\" + found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

inline OwnerWindow::OwnerWindow()
    : window_(CreateWindowExA(0, "STATIC", "Kavlo test owner", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr))
{
}

inline OwnerWindow::~OwnerWindow()
{
    if (window_)
        DestroyWindow(window_);
}

inline BoxAnswerer::BoxAnswerer(const char* caption) : caption_(caption), thread_([this] { Watch(); }) {}

inline BoxAnswerer::~BoxAnswerer()
{
    Finish();
}

inline bool BoxAnswerer::Finish()
{
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    return seen > 0;
}

inline BOOL CALLBACK CollectStaticText(HWND child, LPARAM param)
{
    char className[32] = {};
    GetClassNameA(child, className, sizeof(className));
    if (lstrcmpiA(className, "Static") == 0) {
        char text[2048] = {};
        GetWindowTextA(child, text, sizeof(text));
        std::string* longest = reinterpret_cast<std::string*>(param);
        if (strlen(text) > longest->size())
            *longest = text;
    }
    return TRUE;
}

inline void BoxAnswerer::Watch()
{
    while (!stop_) {
        HWND box = FindWindowA("#32770", caption_.c_str());
        if (box && IsWindowVisible(box)) {
            std::string found;
            EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&found));
            text = found;
            owner = GetWindow(box, GW_OWNER);
            ++seen;
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
            // Wait until it is gone before looking for the next one.
            for (int i = 0; i < 500 && IsWindow(box); ++i)
                Sleep(10);
        }
        Sleep(20);
    }
}
