// The window within the work area of its screen: on a screen too low for the whole window (a
// 1,080-line screen with a task bar at 150 %, say) it takes the work area's height and its
// content scrolls above the status bar.
#include "ui/MainWindow_win.h"

#include <algorithm>

#include "platform/win32/FileLog_win32.h"
#include "ui/MainWindowLayout_win.h"

namespace quorvel {
namespace {

// How far a click on a scroll arrow scrolls, at 96 DPI.
constexpr int kScrollLine = 16;

}  // namespace

void MainWindow::FitWorkArea(bool centre) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoA(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor)) {
        log_.Write(LastErrorText("GetMonitorInfoA"));
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &monitor.rcWork, 0);
    }
    const int areaLeft = monitor.rcWork.left, areaTop = monitor.rcWork.top;
    const int areaRight = monitor.rcWork.right, areaBottom = monitor.rcWork.bottom;
    RECT frame{0, 0, Scale(kClientWidth), Scale(kContentHeight) + statusBar_.Height()};
    AdjustWindowRect(&frame, static_cast<DWORD>(GetWindowLongA(window_, GWL_STYLE)) & ~WS_VSCROLL, FALSE);
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    if (height > areaBottom - areaTop) {
        height = areaBottom - areaTop;
        width += GetSystemMetrics(SM_CXVSCROLL);
    }
    RECT now{};
    GetWindowRect(window_, &now);
    const int left = centre ? (areaLeft + areaRight - width) / 2 : static_cast<int>(now.left);
    const int top = centre ? (areaTop + areaBottom - height) / 2 : static_cast<int>(now.top);
    SetWindowPos(window_, nullptr, std::clamp(left, areaLeft, std::max(areaLeft, areaRight - width)),
                 std::clamp(top, areaTop, std::max(areaTop, areaBottom - height)), width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ScrollTo(scroll_);
}

// The scroll bar shows only while the content is higher than the room above the status bar.
void MainWindow::ScrollTo(int position) {
    RECT client{};
    GetClientRect(window_, &client);
    const int content = Scale(kContentHeight);
    const int room = std::max(0, static_cast<int>(client.bottom) - statusBar_.Height());
    position = std::clamp(position, 0, std::max(0, content - room));
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = content - 1;
    info.nPage = static_cast<UINT>(room);
    info.nPos = position;
    SetScrollInfo(window_, SB_VERT, &info, TRUE);
    if (position == scroll_) return;
    scroll_ = position;
    PlaceControls();
    InvalidateRect(window_, nullptr, TRUE);
}

void MainWindow::OnScroll(int request) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(window_, SB_VERT, &info);
    const int page = static_cast<int>(info.nPage);
    switch (request) {
        case SB_LINEUP: ScrollTo(scroll_ - Scale(kScrollLine)); break;
        case SB_LINEDOWN: ScrollTo(scroll_ + Scale(kScrollLine)); break;
        case SB_PAGEUP: ScrollTo(scroll_ - page); break;
        case SB_PAGEDOWN: ScrollTo(scroll_ + page); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: ScrollTo(info.nTrackPos); break;
        case SB_TOP: ScrollTo(0); break;
        case SB_BOTTOM: ScrollTo(info.nMax); break;
        default: break;
    }
}

}  // namespace quorvel
