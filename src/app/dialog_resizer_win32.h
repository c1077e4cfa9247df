// Makes a dialog resizable: its children follow per-edge factors, it cannot be
// made smaller than it was at attach time, and it shows a size grip.
#pragma once

#include "app/dialog_layout.h"
#include "platform/scoped_win32.h"

#include <windows.h>
#include <uxtheme.h>

#include <vector>

class DialogResizer {
public:
    // Attaches at once when a dialog is given. The resizer frees itself when
    // the dialog is destroyed.
    explicit DialogResizer(HWND dialog = nullptr);

    void Attach(HWND dialog);
    ControlRule* FindOrAddRule(HWND control);
    void SetVerticalMode(HWND control, int mode);
    void SetVerticalFactors(HWND control, double top, double bottom);
    void SetHorizontalGroup(int count, const HWND* controls);

    int horizontalSplitPercent = 50;
    int verticalSplitPercent = 67;
    bool enabled = true;

private:
    struct Rule {
        HWND control;
        ControlRule rule;
    };
    using OpenThemeDataFn = HTHEME(WINAPI*)(HWND, LPCWSTR);
    using CloseThemeDataFn = HRESULT(WINAPI*)(HTHEME);
    using DrawThemeBackgroundFn = HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, const RECT*);

    ~DialogResizer() = default;
    static LRESULT CALLBACK WindowProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    static BOOL CALLBACK ResizeChild(HWND child, LPARAM self);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Relayout();
    RECT GripRect() const;
    bool ShowsGrip() const;
    const Rule* FindRule(HWND control) const;

    WNDPROC previousProc_ = nullptr;
    HWND dialog_ = nullptr;
    int initialWidth_ = 0, initialHeight_ = 0;
    int lastWidth_ = 0, lastHeight_ = 0;
    int newWidth_ = 0, newHeight_ = 0;
    HDWP pendingMoves_ = nullptr;
    bool isChild_ = false;
    // Freed with the resizer, after the theme it opened is closed.
    ScopedLibrary uxtheme_;
    OpenThemeDataFn openThemeData_ = nullptr;
    DrawThemeBackgroundFn drawThemeBackground_ = nullptr;
    CloseThemeDataFn closeThemeData_ = nullptr;
    HTHEME theme_ = nullptr;
    std::vector<Rule> rules_;
};
