#include "target_windows.h"

#include <commctrl.h>

#include <cstring>

namespace {

constexpr UINT kAnswerTimeoutMs = 5000;

struct EnumState {
    DWORD processId;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectTopWindow(HWND window, LPARAM param)
{
    auto* state = reinterpret_cast<EnumState*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == state->processId && IsWindowVisible(window))
        state->windows.push_back(window);
    return TRUE;
}

struct ChildList {
    std::vector<HWND> children;
};

BOOL CALLBACK CollectChild(HWND window, LPARAM param)
{
    reinterpret_cast<ChildList*>(param)->children.push_back(window);
    return TRUE;
}

std::vector<HWND> ChildrenOf(HWND parent)
{
    ChildList list;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&list));
    return list.children;
}

bool IsStaticText(HWND control)
{
    if (ClassOf(control) != "Static")
        return false;
    const LONG type = GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK;
    return type != SS_ICON && type != SS_BITMAP && type != SS_ENHMETAFILE;
}

} // namespace

std::vector<HWND> VisibleTopWindowsOf(DWORD processId)
{
    EnumState state{processId, {}};
    EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&state));
    return state.windows;
}

HWND FindTopWindow(DWORD processId, const std::string& title)
{
    for (HWND window : VisibleTopWindowsOf(processId)) {
        if (TitleOf(window) == title)
            return window;
    }
    return nullptr;
}

std::string TitleOf(HWND window)
{
    // A top-level window's title is kept by the system, so this reads it
    // without a message even when the target is busy.
    char buffer[512] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

std::string ClassOf(HWND window)
{
    char buffer[128] = {};
    GetClassNameA(window, buffer, sizeof buffer);
    return buffer;
}

std::string ControlText(HWND control)
{
    // The text may change between the length and the copy (the running
    // check's name, say), so the copy gets room to spare and is retried when
    // it filled the buffer.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &length))
        return std::string();
    for (size_t size = length + 512; size < (1u << 24); size *= 4) {
        std::vector<char> buffer(size, '\0');
        DWORD_PTR copied = 0;
        if (!SendMessageTimeoutA(control, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                                 SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &copied))
            return std::string();
        const size_t got = strnlen(buffer.data(), buffer.size());
        if (got + 1 < buffer.size())
            return std::string(buffer.data(), got);
    }
    return std::string();
}

bool SetControlText(HWND control, const std::string& text)
{
    DWORD_PTR answer = 0;
    return SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                               kAnswerTimeoutMs, &answer) != 0;
}

void PressButton(HWND button)
{
    PostMessageA(button, BM_CLICK, 0, 0);
}

std::string MessageBoxText(HWND box)
{
    if (HWND text = GetDlgItem(box, 0xFFFF); text != nullptr && IsStaticText(text))
        return ControlText(text);
    std::string longest;
    for (HWND child : ChildrenOf(box)) {
        if (!IsStaticText(child))
            continue;
        std::string text = ControlText(child);
        if (text.size() > longest.size())
            longest = text;
    }
    return longest;
}

HWND MessageBoxIcon(HWND box)
{
    for (HWND child : ChildrenOf(box)) {
        if (ClassOf(child) == "Static" && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            return child;
    }
    return nullptr;
}

std::string IconKindOnScreen(HWND icon)
{
    RECT rect;
    if (icon == nullptr || !GetWindowRect(icon, &rect))
        return "unknown";
    HDC screen = GetDC(nullptr);
    if (screen == nullptr)
        return "unknown";
    int red = 0, yellow = 0;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            const COLORREF colour = GetPixel(screen, x, y);
            if (colour == CLR_INVALID)
                continue;
            const int r = GetRValue(colour), g = GetGValue(colour), b = GetBValue(colour);
            if (r > 150 && g < 110 && b < 110)
                ++red;
            else if (r > 180 && g > 150 && b < 110)
                ++yellow;
        }
    }
    ReleaseDC(nullptr, screen);
    const int area = (rect.right - rect.left) * (rect.bottom - rect.top);
    if (area <= 0)
        return "unknown";
    // The stop icon is mostly a red disc, the exclamation a yellow triangle;
    // a tenth of the box in one colour is far beyond anti-aliasing noise.
    if (red * 10 > area && red > yellow)
        return "stop";
    if (yellow * 10 > area && yellow > red)
        return "exclamation";
    return "unknown";
}

bool LooksLikeMessageBox(HWND dialog)
{
    // Message boxes of Windows and of Wine keep their text in a static
    // control with id 0xFFFF, which no dialog of kavlo uses.
    HWND text = GetDlgItem(dialog, 0xFFFF);
    if (text == nullptr || !IsStaticText(text))
        return false;
    for (HWND child : ChildrenOf(dialog)) {
        const std::string kind = ClassOf(child);
        if (kind != "Static" && kind != "Button")
            return false;
    }
    return true;
}

RemoteBlock::RemoteBlock(HANDLE process, size_t size)
    : process_(process), address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))
{
}

RemoteBlock::~RemoteBlock()
{
    if (address_ != nullptr)
        VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
}

bool RemoteBlock::Write(size_t offset, const void* data, size_t size)
{
    SIZE_T done = 0;
    return address_ != nullptr && WriteProcessMemory(process_, Address() + offset, data, size, &done) && done == size;
}

bool RemoteBlock::Read(size_t offset, void* data, size_t size)
{
    SIZE_T done = 0;
    return address_ != nullptr && ReadProcessMemory(process_, Address() + offset, data, size, &done) && done == size;
}

// The block holds the request record first and the text buffer behind it.
RemoteListView::RemoteListView(HANDLE process, HWND list)
    : list_(list), block_(process, sizeof(LVITEMA) + sizeof(LVCOLUMNA) + sizeof(RECT) + kTextSize)
{
}

int RemoteListView::Count()
{
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutA(list_, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &count))
        return -1;
    return static_cast<int>(count);
}

std::string RemoteListView::ItemText(int item, int subItem)
{
    const size_t textOffset = sizeof(LVITEMA) + sizeof(LVCOLUMNA) + sizeof(RECT);
    LVITEMA request = {};
    request.iSubItem = subItem;
    request.pszText = block_.Address() + textOffset;
    request.cchTextMax = kTextSize;
    const char empty = '\0';
    DWORD_PTR length = 0;
    if (!block_.Write(0, &request, sizeof request) || !block_.Write(textOffset, &empty, 1) ||
        !SendMessageTimeoutA(list_, LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(block_.Address()),
                             SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &length))
        return std::string();
    std::vector<char> text(kTextSize, '\0');
    if (!block_.Read(textOffset, text.data(), text.size() - 1))
        return std::string();
    return std::string(text.data());
}

bool RemoteListView::Column(int column, std::string& title, int& width)
{
    const size_t columnOffset = sizeof(LVITEMA);
    const size_t textOffset = sizeof(LVITEMA) + sizeof(LVCOLUMNA) + sizeof(RECT);
    LVCOLUMNA request = {};
    request.mask = LVCF_TEXT | LVCF_WIDTH;
    request.pszText = block_.Address() + textOffset;
    request.cchTextMax = kTextSize;
    DWORD_PTR ok = 0;
    if (!block_.Write(columnOffset, &request, sizeof request) ||
        !SendMessageTimeoutA(list_, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(block_.Address() + columnOffset),
                             SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &ok) ||
        !ok)
        return false;
    LVCOLUMNA answer = {};
    std::vector<char> text(kTextSize, '\0');
    if (!block_.Read(columnOffset, &answer, sizeof answer) || !block_.Read(textOffset, text.data(), text.size() - 1))
        return false;
    title = text.data();
    width = answer.cx;
    return true;
}

bool RemoteListView::ItemRect(int item, RECT& rect)
{
    const size_t rectOffset = sizeof(LVITEMA) + sizeof(LVCOLUMNA);
    RECT request = {};
    request.left = LVIR_BOUNDS;
    DWORD_PTR ok = 0;
    if (!block_.Write(rectOffset, &request, sizeof request) ||
        !SendMessageTimeoutA(list_, LVM_GETITEMRECT, item, reinterpret_cast<LPARAM>(block_.Address() + rectOffset),
                             SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &ok) ||
        !ok)
        return false;
    return block_.Read(rectOffset, &rect, sizeof rect);
}

bool RemoteListView::IsSelected(int item)
{
    DWORD_PTR state = 0;
    if (!SendMessageTimeoutA(list_, LVM_GETITEMSTATE, item, LVIS_SELECTED, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &state))
        return false;
    return (state & LVIS_SELECTED) != 0;
}
