#include "app/dialog_resizer_win32.h"

#include "platform/scoped_win32.h"
#include "platform/system_library_win32.h"

namespace {

const char* const kPropertyName = "ResizerClass";

LayoutRect ToLayout(const RECT& r)
{
    return LayoutRect{r.left, r.top, r.right, r.bottom};
}

// A control's rectangle in its dialog's client coordinates.
RECT ClientRectOf(HWND dialog, HWND control)
{
    RECT r = {};
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool IsPushButton(HWND control)
{
    char className[261] = {};
    GetClassNameA(control, className, sizeof(className));
    if (lstrcmpiA(className, "Button") != 0)
        return false;
    const LONG type = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_USERBUTTON || type == BS_OWNERDRAW;
}

bool IsStatic(HWND control)
{
    char className[261] = {};
    GetClassNameA(control, className, sizeof(className));
    return lstrcmpiA(className, "STATIC") == 0;
}

} // namespace

DialogResizer::DialogResizer(HWND dialog)
{
    if (dialog != nullptr)
        Attach(dialog);
}

void DialogResizer::Attach(HWND dialog)
{
    dialog_ = dialog;
    SetPropA(dialog, kPropertyName, this);
    previousProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DialogResizer::WindowProc)));

    // Visual styles are optional; without them the classic grip is drawn.
    uxtheme_.Reset(LoadSystemLibrary("uxtheme.dll"));
    openThemeData_ = LookUpProc<OpenThemeDataFn>(uxtheme_.Get(), "OpenThemeData");
    closeThemeData_ = LookUpProc<CloseThemeDataFn>(uxtheme_.Get(), "CloseThemeData");
    drawThemeBackground_ = LookUpProc<DrawThemeBackgroundFn>(uxtheme_.Get(), "DrawThemeBackground");
    if (openThemeData_ != nullptr)
        theme_ = openThemeData_(dialog, L"status");

    RECT outer = {};
    GetWindowRect(dialog, &outer);
    initialWidth_ = lastWidth_ = outer.right - outer.left;
    initialHeight_ = lastHeight_ = outer.bottom - outer.top;
    isChild_ = (GetWindowLongA(dialog, GWL_STYLE) & WS_CHILD) != 0;
}

ControlRule* DialogResizer::FindOrAddRule(HWND control)
{
    if (control == nullptr)
        return nullptr;
    for (Rule& r : rules_)
        if (r.control == control)
            return &r.rule;
    Rule added;
    added.control = control;
    added.rule.initial = ToLayout(ClientRectOf(dialog_, control));
    rules_.push_back(added);
    return &rules_.back().rule;
}

const DialogResizer::Rule* DialogResizer::FindRule(HWND control) const
{
    for (const Rule& r : rules_)
        if (r.control == control)
            return &r;
    return nullptr;
}

void DialogResizer::SetVerticalMode(HWND control, int mode)
{
    if (ControlRule* rule = FindOrAddRule(control))
        ApplyVerticalMode(rule->factors, mode);
}

void DialogResizer::SetVerticalFactors(HWND control, double top, double bottom)
{
    if (ControlRule* rule = FindOrAddRule(control)) {
        rule->factors.top = top;
        rule->factors.bottom = SnapToOne(bottom);
    }
}

void DialogResizer::SetHorizontalGroup(int count, const HWND* controls)
{
    std::vector<int32_t> widths;
    for (int i = 0; i < count; ++i) {
        RECT r = {};
        if (controls[i] != nullptr)
            GetWindowRect(controls[i], &r);
        widths.push_back(r.right - r.left);
    }
    const auto factors = HorizontalGroupFactors(widths);
    for (int i = 0; i < count; ++i) {
        if (ControlRule* rule = FindOrAddRule(controls[i])) {
            rule->factors.left = factors[i].first;
            rule->factors.right = factors[i].second;
        }
    }
}

bool DialogResizer::ShowsGrip() const
{
    return !isChild_ && !IsZoomed(dialog_);
}

RECT DialogResizer::GripRect() const
{
    RECT client = {};
    GetClientRect(dialog_, &client);
    client.left = client.right - GetSystemMetrics(SM_CXHSCROLL);
    client.top = client.bottom - GetSystemMetrics(SM_CYVSCROLL);
    return client;
}

BOOL CALLBACK DialogResizer::ResizeChild(HWND child, LPARAM selfParam)
{
    auto* self = reinterpret_cast<DialogResizer*>(selfParam);
    if (GetParent(child) != self->dialog_)
        return TRUE;
    const RECT current = ClientRectOf(self->dialog_, child);

    DialogSizes sizes;
    sizes.initialWidth = self->initialWidth_;
    sizes.initialHeight = self->initialHeight_;
    sizes.lastWidth = self->lastWidth_;
    sizes.lastHeight = self->lastHeight_;
    sizes.newWidth = self->newWidth_;
    sizes.newHeight = self->newHeight_;
    sizes.horizontalSplitPercent = self->horizontalSplitPercent;
    sizes.verticalSplitPercent = self->verticalSplitPercent;

    if (IsStatic(child))
        InvalidateRect(child, nullptr, FALSE);  // redraw its text at the new size
    const Rule* rule = self->FindRule(child);
    const LayoutRect moved = LayOutChild(sizes, ToLayout(current), IsPushButton(child), rule ? &rule->rule : nullptr);
    if (self->pendingMoves_ != nullptr)
        self->pendingMoves_ = DeferWindowPos(self->pendingMoves_, child, nullptr, moved.left, moved.top,
                                             moved.Width(), moved.Height(), SWP_NOZORDER);
    return TRUE;
}

void DialogResizer::Relayout()
{
    pendingMoves_ = BeginDeferWindowPos(20);
    EnumChildWindows(dialog_, &DialogResizer::ResizeChild, reinterpret_cast<LPARAM>(this));
    if (pendingMoves_ != nullptr)
        EndDeferWindowPos(pendingMoves_);
    pendingMoves_ = nullptr;

    if (!isChild_) {
        // Only where the grip was and where it goes now are repainted.
        RECT now = GripRect();
        RECT before = now;
        OffsetRect(&before, lastWidth_ - newWidth_, lastHeight_ - newHeight_);
        RECT both = {};
        UnionRect(&both, &now, &before);
        InvalidateRect(dialog_, &both, TRUE);
    }
    lastWidth_ = newWidth_;
    lastHeight_ = newHeight_;
}

LRESULT DialogResizer::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    const WNDPROC previous = previousProc_;
    switch (message) {
    case WM_SIZE:
        if (enabled && (wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED)) {
            RECT outer = {};
            GetWindowRect(dialog_, &outer);
            newWidth_ = outer.right - outer.left;
            newHeight_ = outer.bottom - outer.top;
            if (newWidth_ != lastWidth_ || newHeight_ != lastHeight_)
                Relayout();
        }
        break;
    case WM_PAINT:
        if (ShowsGrip()) {
            // Painted inside BeginPaint so that the background erase comes
            // first and does not wipe the grip out again.
            RECT grip = GripRect();
            PAINTSTRUCT paint = {};
            HDC dc = BeginPaint(dialog_, &paint);
            if (theme_ != nullptr && drawThemeBackground_ != nullptr)
                drawThemeBackground_(theme_, dc, 3 /* status bar gripper */, 0, &grip, nullptr);
            else
                DrawFrameControl(dc, &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
            EndPaint(dialog_, &paint);
        }
        break;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize.x = initialWidth_;
        info->ptMinTrackSize.y = initialHeight_;
        return 0;
    }
    case WM_NCHITTEST: {
        LRESULT answer = CallWindowProcA(previous, dialog_, message, wParam, lParam);
        if (answer == HTCLIENT && ShowsGrip()) {
            RECT outer = {};
            GetWindowRect(dialog_, &outer);
            RECT grip = {outer.right - GetSystemMetrics(SM_CXHSCROLL), outer.bottom - GetSystemMetrics(SM_CYVSCROLL),
                         outer.right, outer.bottom};
            POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            if (PtInRect(&grip, p))
                answer = HTBOTTOMRIGHT;
        }
        return answer;
    }
    case WM_DESTROY: {
        HWND dialog = dialog_;
        SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropA(dialog, kPropertyName);
        if (closeThemeData_ != nullptr && theme_ != nullptr)
            closeThemeData_(theme_);
        delete this;
        return CallWindowProcA(previous, dialog, message, wParam, lParam);
    }
    default:
        break;
    }
    return CallWindowProcA(previous, dialog_, message, wParam, lParam);
}

LRESULT CALLBACK DialogResizer::WindowProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = static_cast<DialogResizer*>(GetPropA(dialog, kPropertyName));
    if (self == nullptr)
        return DefWindowProcA(dialog, message, wParam, lParam);
    return self->Handle(message, wParam, lParam);
}
