// Looking at and pressing the windows of another process, as a person sees
// and uses them. Controls of another process answer only messages that the
// system carries across processes (WM_GETTEXT, BM_CLICK, ...); list-view
// reads need a buffer inside the target, which RemoteBlock provides.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Visible top-level windows of the process, in z-order.
std::vector<HWND> VisibleTopWindowsOf(DWORD processId);
// The visible top-level window of the process with exactly this title, or null.
HWND FindTopWindow(DWORD processId, const std::string& title);

std::string TitleOf(HWND window);
std::string ClassOf(HWND window);
// A control's text through WM_GETTEXT; empty when the window does not answer
// within a few seconds (a hung target must not hang the driver).
std::string ControlText(HWND control);
bool SetControlText(HWND control, const std::string& text);

// Presses a button as a click would: posted, so that a button which opens a
// modal dialog does not keep the driver waiting for that dialog to close.
void PressButton(HWND button);

// The message text of a message box: its static text control (id 0xFFFF on
// Windows and Wine), else the longest static text in it.
std::string MessageBoxText(HWND box);
// The icon control of a message box, or null.
HWND MessageBoxIcon(HWND box);
// "stop", "exclamation" or "unknown", judged from the colours of the icon as
// drawn on the screen (a red disc or a yellow triangle).
std::string IconKindOnScreen(HWND icon);

// Whether a dialog is a message box (it has a static message text and no
// other kind of input than buttons).
bool LooksLikeMessageBox(HWND dialog);

// Memory inside the target process, freed with the object.
class RemoteBlock {
public:
    RemoteBlock(HANDLE process, size_t size);
    ~RemoteBlock();
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    explicit operator bool() const { return address_ != nullptr; }
    char* Address() const { return static_cast<char*>(address_); }
    bool Write(size_t offset, const void* data, size_t size);
    bool Read(size_t offset, void* data, size_t size);

private:
    HANDLE process_;
    void* address_;
};

// A list view (report view) of another process.
class RemoteListView {
public:
    RemoteListView(HANDLE process, HWND list);
    int Count();
    std::string ItemText(int item, int subItem);
    bool Column(int column, std::string& title, int& width);
    bool ItemRect(int item, RECT& rect);  // client coordinates of the list
    bool IsSelected(int item);

private:
    static constexpr size_t kTextSize = 4096;
    HWND list_;
    RemoteBlock block_;
};
