#include "osd/OsdWindow_win.h"

#include <vector>

#include "osd/OsdLayout.h"
#include "platform/win32/BaseWindow.h"
#include "platform/win32/Win32Handles.h"

namespace quorvel {
namespace {

constexpr UINT_PTR kTimerId = 1;
constexpr UINT kShowMs = 3000;
constexpr int kFontHeight = 50;
constexpr int kBold = 700;
constexpr char kFontFace[] = "Verdana";
constexpr BYTE kOpaque = 255;
constexpr DWORD kExStyle = WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
constexpr DWORD kStyle = WS_POPUP;
constexpr UINT kTextFormat = DT_CENTER | DT_VCENTER | DT_WORDBREAK;


BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM monitors) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info)) {
        const RECT& bounds = info.rcMonitor;
        reinterpret_cast<std::vector<ScreenRect>*>(monitors)->push_back(
            {bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top});
    }
    return TRUE;
}

std::vector<ScreenRect> DesktopMonitors() {
    std::vector<ScreenRect> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

// One display's window. It lives on the display thread's stack and is destroyed there.
class OsdWindow final : public BaseWindow<OsdWindow> {
public:
    explicit OsdWindow(const OsdJob& job) : job_(job), key_(OsdColourKey(job.colour)) {}
    ~OsdWindow() {
        if (window_) DestroyWindow(window_);
    }

    // The hidden, layered window; false when either step fails.
    bool Create();
    void Place(const std::vector<ScreenRect>& monitors);
    void Show();

private:
    friend class BaseWindow<OsdWindow>;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCreate();
    void OnEraseBackground(HDC dc);
    void OnPaint();
    void OnTimer();

    OsdJob job_;
    COLORREF key_;
    UniqueFont font_;
    int width_ = 0;
    int height_ = 0;
};

bool OsdWindow::Create() {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = job_.instance;
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kOsdClassName;
    // Every display registers; once the class exists the call fails, which is harmless.
    RegisterClassExA(&windowClass);

    CreateWindowExA(kExStyle, kOsdClassName, kOsdWindowTitle, kStyle, 0, 0, 0, 0, nullptr, nullptr, job_.instance,
                    this);
    if (!window_) return false;
    // Pixels in the key colour become invisible, all others fully opaque.
    return SetLayeredWindowAttributes(window_, key_, kOpaque, LWA_COLORKEY | LWA_ALPHA) != FALSE;
}

void OsdWindow::Place(const std::vector<ScreenRect>& monitors) {
    const WindowDC windowDc(window_);
    const HDC dc = windowDc.Get();
    const SelectedObject font(dc, font_.Get());
    const ScreenRect block =
        LayoutOsd(job_.text, monitors, job_.secondDisplay, [dc](const std::string& line) {
            SIZE size{};
            GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &size);
            return TextExtent{size.cx, size.cy};
        });
    width_ = block.width;
    height_ = block.height;
    MoveWindow(window_, block.left, block.top, block.width, block.height, FALSE);
}

void OsdWindow::Show() {
    // Never activated: keystrokes the program sends right after a press must reach the
    // foreground application, not the display.
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    SetTimer(window_, kTimerId, kShowMs, nullptr);
}

LRESULT OsdWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_ERASEBKGND:
            OnEraseBackground(reinterpret_cast<HDC>(wParam));
            return 1;
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_TIMER:
            if (wParam != kTimerId) break;
            OnTimer();
            return 0;
        case WM_CLOSE:
            DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

void OsdWindow::OnCreate() {
    font_.Reset(CreateFontA(kFontHeight, 0, 0, 0, kBold, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, kFontFace));
}

void OsdWindow::OnEraseBackground(HDC dc) {
    // The class brush is white for every display, but the key differs when the text is white.
    RECT client;
    GetClientRect(window_, &client);
    SetDCBrushColor(dc, key_);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void OsdWindow::OnPaint() {
    const PaintDC paint(window_);
    const HDC dc = paint.Get();
    SetTextColor(dc, job_.colour);
    // The opaque text background is the key too, so only the letters remain whatever the
    // desktop's window colour.
    SetBkColor(dc, key_);
    const SelectedObject font(dc, font_.Get());
    RECT block;
    SetRect(&block, 0, 0, width_, height_);
    DrawTextExA(dc, job_.text.data(), -1, &block, kTextFormat, nullptr);
}

void OsdWindow::OnTimer() {
    KillTimer(window_, kTimerId);
    ShowWindow(window_, SW_HIDE);
    PostQuitMessage(0);
}

void RunMessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
}

}  // namespace

bool OsdSlot::Publish(HWND window) {
    std::lock_guard lock(mutex_);
    if (superseded_) return false;
    window_ = window;
    return true;
}

void OsdSlot::Withdraw() {
    std::lock_guard lock(mutex_);
    window_ = nullptr;
    superseded_ = true;
}

void OsdSlot::Supersede() {
    std::lock_guard lock(mutex_);
    if (superseded_) return;
    superseded_ = true;
    // The display's own timer message: the window hides and its thread's loop ends.
    if (window_) PostMessageA(window_, WM_TIMER, kTimerId, 0);
}

void RunOsdDisplay(const OsdJob& job, OsdSlot& slot) {
    OsdWindow window(job);
    if (!window.Create()) return;
    window.Place(DesktopMonitors());
    if (!slot.Publish(window.Handle())) return;
    window.Show();
    RunMessageLoop();
    slot.Withdraw();
}

}  // namespace quorvel
