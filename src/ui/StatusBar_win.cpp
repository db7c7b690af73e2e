#include "ui/StatusBar_win.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "platform/win32/Win32Handles.h"
#include "platform/win32/WindowSubclass_win32.h"

namespace quorvel {
namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr int kLines = 2;

int LineHeight(HWND bar) {
    const WindowDC dc(bar);
    const SelectedObject font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageA(bar, WM_GETFONT, 0, 0)));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc.Get(), &metrics);
    return metrics.tmHeight;
}

std::string PanelText(HWND bar, int panel) {
    std::string text(LOWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, panel, 0)) + 1u, '\0');
    text.resize(LOWORD(SendMessageA(bar, SB_GETTEXTA, panel, reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

}  // namespace

HWND StatusBar::Create(HWND window, int controlId, HINSTANCE instance) {
    bar_ = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), instance, nullptr);
    if (bar_) AttachSubclass(bar_, Subclass, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    return bar_;
}

void StatusBar::SetFont(HFONT font, const int* edges, int count) {
    SendMessageA(bar_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageA(bar_, SB_SETPARTS, count, reinterpret_cast<LPARAM>(edges));
    SendMessageA(bar_, SB_SETMINHEIGHT, kLines * LineHeight(bar_) + 2 * GetSystemMetrics(SM_CYEDGE) + 2, 0);
    SendMessageA(bar_, WM_SIZE, 0, 0);
}

int StatusBar::Height() const {
    RECT rect{};
    GetWindowRect(bar_, &rect);
    return rect.bottom - rect.top;
}

// The control draws its panels' texts on one line; these are drawn word-wrapped, each centred
// in the height of its panel.
void StatusBar::Paint() const {
    const PaintDC paint(bar_);
    const HDC dc = paint.Get();
    RECT client{};
    GetClientRect(bar_, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    const SelectedObject font(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(bar_, WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    constexpr UINT kFormat = DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL;
    const int panels = static_cast<int>(SendMessageA(bar_, SB_GETPARTS, 0, 0));
    for (int panel = 0; panel < panels; ++panel) {
        RECT frame{};
        SendMessageA(bar_, SB_GETRECT, panel, reinterpret_cast<LPARAM>(&frame));
        DrawEdge(dc, &frame, BDR_SUNKENOUTER, BF_RECT);
        RECT room = frame;
        InflateRect(&room, -GetSystemMetrics(SM_CXEDGE) - 1, -GetSystemMetrics(SM_CYEDGE));
        const std::string text = PanelText(bar_, panel);
        RECT measured = room;
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &measured, kFormat | DT_CALCRECT);
        const int textHeight = std::min(measured.bottom - measured.top, room.bottom - room.top);
        room.top += (room.bottom - room.top - textHeight) / 2;
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &room, kFormat);
    }
}

LRESULT CALLBACK StatusBar::Subclass(HWND bar, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    switch (message) {
        case WM_PAINT: reinterpret_cast<const StatusBar*>(self)->Paint(); return 0;
        case WM_NCDESTROY: DetachSubclass(bar, Subclass, kSubclassId); break;
        default: break;
    }
    return CallNextSubclass(bar, message, wParam, lParam);
}

}  // namespace quorvel
