// Shared by the Windows-side tests: files, paths, system texts, an owner window,
// and a watcher that answers dialogs by their caption as a person would.
#pragma once

#include "report/fingerprint.h"
#include "report/md5.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>

inline std::string ReadWholeFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline std::string TempPath(const char* name)
{
    char folder[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, folder);
    return folder + std::string(name);
}

// The Windows path (drive Z:) of the Unix path in an environment variable, or "".
inline std::string WindowsPathFrom(const char* variable)
{
    std::string path = std::getenv(variable) ? std::string("Z:") + std::getenv(variable) : "";
    for (char& c : path)
        c = c == '/' ? '\\' : c;
    return path;
}

inline std::string SystemMessage(DWORD code)
{
    char text[1024] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text, sizeof(text),
                   nullptr);
    return text;
}

// The system fingerprint of this PC's facts read here: the product identifier
// (native view) and the serial of drive C:, through the fingerprint's own rule.
inline std::string ExpectedFingerprint()
{
    char id[256] = {};
    DWORD size = sizeof(id), serial = 0;
    FingerprintFacts facts;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", 0,
                      KEY_READ | KEY_WOW64_64KEY, &key) == ERROR_SUCCESS &&
        RegQueryValueExA(key, "ProductId", nullptr, nullptr, reinterpret_cast<BYTE*>(id), &size) == ERROR_SUCCESS)
        facts.productId = id;
    RegCloseKey(key);
    if (GetVolumeInformationA("C:\\", nullptr, 0, &serial, nullptr, nullptr, nullptr, 0))
        facts.volumeSerial = serial;
    Md5 md5;
    FeedFingerprint(facts, md5);
    return FormatDigestHex(33, md5.Digest());
}

inline std::string TextOf(HWND window)
{
    char text[2048] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

// A message box's message: the static text with the id Windows gives it.
inline std::string MessageOf(HWND box)
{
    return TextOf(GetDlgItem(box, 0xFFFF));
}

inline void Press(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

struct OwnerWindow {
    HWND hwnd = CreateWindowExA(0, "STATIC", "Kavlo test owner", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                                nullptr, nullptr, nullptr);
    ~OwnerWindow() { DestroyWindow(hwnd); }
};

// Hands each visible dialog captioned `caption` to `answer` on a thread of its
// own, and waits until that dialog is gone before looking for the next.
struct DialogWatcher {
    DialogWatcher(const char* caption, std::function<void(HWND)> answer)
        : thread_([this, caption, answer] {
              for (; !stop_; Sleep(20))
                  if (HWND dialog = FindWindowA("#32770", caption); dialog && IsWindowVisible(dialog)) {
                      answer(dialog), ++answered_;
                      for (int i = 0; i < 500 && IsWindow(dialog); ++i)
                          Sleep(10);
                  }
          }) {}
    ~DialogWatcher() { Finish(); }
    // Stops watching; how many dialogs were answered.
    int Finish()
    {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
        return answered_;
    }

    std::atomic<bool> stop_{false};  // before the thread, which reads both from its start
    std::atomic<int> answered_{0};
    std::thread thread_;
};
