// Shared by the report tests: files, a stand-in main window, and a watcher
// that answers dialogs by their caption as a person would.
#pragma once

#include <windows.h>

#include <atomic>
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

// A message box's message: the static text with the id Windows gives it.
inline std::string MessageOf(HWND box)
{
    char text[2048] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
    return text;
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
class DialogWatcher {
public:
    DialogWatcher(const char* caption, std::function<void(HWND)> answer)
        : thread_([this, caption, answer] {
              for (; !stop_; Sleep(20)) {
                  HWND dialog = FindWindowA("#32770", caption);
                  if (!dialog || !IsWindowVisible(dialog))
                      continue;
                  answer(dialog);
                  ++answered_;
                  for (int i = 0; i < 500 && IsWindow(dialog); ++i)
                      Sleep(10);
              }
          })
    {
    }
    ~DialogWatcher() { Finish(); }
    // Stops watching; how many dialogs were answered.
    int Finish()
    {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
        return answered_;
    }

private:
    std::atomic<bool> stop_{false};
    std::atomic<int> answered_{0};
    std::thread thread_;
};
