#include "ui/MainWindow_win.h"

#include <commctrl.h>

#include "ResourceIds.h"
#include "engine/Application.h"
#include "platform/win32/FileLog_win32.h"
#include "ui/ControlIds.h"
#include "ui/MainWindowLayout_win.h"

namespace quorvel {
namespace {

constexpr char kClassName[] = QUORVEL_MAIN_CLASS;
constexpr UINT_PTR kMainTId = 1;
constexpr UINT_PTR kOffTimerId = 2;
constexpr UINT_PTR kMacroTimerId = 3;
// Work posted from other threads waits in postedWork_.
constexpr UINT kRunWorkMessage = WM_APP + 1;
constexpr UINT kTrayCallbackMessage = QUORVEL_TRAY_CALLBACK_MESSAGE;
static_assert(kTrayCallbackMessage == WM_APP + 2);
// Declared here so that the program builds with headers older than Windows 8.1's.
constexpr UINT kDpiChangedMessage = 0x02E0;
// How far a turn of the mouse wheel scrolls the window, at 96 DPI.
constexpr int kWheelStep = 48;

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, Log& log)
    : instance_(instance),
      log_(log),
      taskbarCreatedMessage_(RegisterWindowMessageA("TaskbarCreated")),
      showWindowMessage_(RegisterWindowMessageA(QUORVEL_SHOW_WINDOW_MESSAGE)),
      menu_(instance) {}

MainWindow::~MainWindow() {
    tray_.reset();
    if (window_) DestroyWindow(window_);
}

bool MainWindow::Create() {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance_;
    windowClass.hIcon = LoadIconA(instance_, MAKEINTRESOURCEA(IDI_APP));
    windowClass.hIconSm = static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                                        LR_DEFAULTCOLOR));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassExA(&windowClass)) return false;

    dpi_ = GetDeviceCaps(WindowDC(nullptr).Get(), LOGPIXELSX);

    // A fixed single border with the system menu and the minimize box only; sized once its
    // controls exist.
    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    CreateWindowExA(0, kClassName, QUORVEL_MAIN_CAPTION, style, 0, 0, 0, 0, nullptr, nullptr, instance_, this);
    if (!window_) return false;
    FitWorkArea(true);
    tray_ = std::make_unique<Win32TrayIcon>(window_, instance_, kTrayCallbackMessage, log_);
    mainT_ = std::make_unique<Win32WindowTimer>(window_, kMainTId, log_);
    offTimer_ = std::make_unique<Win32WindowTimer>(window_, kOffTimerId, log_);
    macroTimer_ = std::make_unique<Win32WindowTimer>(window_, kMacroTimerId, log_);
    postedWork_ = std::make_unique<Win32MainThread>(window_, kRunWorkMessage);
    return true;
}

// The running copy's window has this one's class and caption; this copy's own is skipped. The
// copy the user has just started may give the foreground on, so the shown window comes to the front.
void MainWindow::ShowRunningCopy() {
    HWND other = nullptr;
    while ((other = FindWindowExA(nullptr, other, kClassName, QUORVEL_MAIN_CAPTION)) != nullptr) {
        if (other == window_) continue;
        DWORD processId = 0;
        GetWindowThreadProcessId(other, &processId);
        if (!AllowSetForegroundWindow(processId)) log_.Write(LastErrorText("AllowSetForegroundWindow"));
        if (!PostMessageA(other, showWindowMessage_, 0, 0)) log_.Write(LastErrorText("PostMessageA"));
        return;
    }
}

void MainWindow::OpenReceiverSettings() {
    SendMessageA(GetDlgItem(window_, control_id::SPC), TCM_SETCURSEL, static_cast<WPARAM>(Page::WinLirc), 0);
    OnTabChange();
    Restore();
}

void MainWindow::Attach(Application* application) {
    if (app_) app_->State().observer = nullptr;
    app_ = application;
    if (!app_) return;
    app_->State().observer = this;
    ShowAll();
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: OnCreate(); return 0;
        case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)); return 0;
        case WM_TIMER: OnTimer(wParam); return 0;
        case WM_NOTIFY:
            if (reinterpret_cast<NMHDR*>(lParam)->code == TCN_SELCHANGE) OnTabChange();
            return 0;
        case WM_CTLCOLORSTATIC:
            return OnControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_MEASUREITEM:
            return menu_.Measure(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        case WM_DRAWITEM: return OnDrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        case WM_SETCURSOR:
            if (OnSetCursor(reinterpret_cast<HWND>(wParam))) return TRUE;
            return DefWindowProcA(window_, message, wParam, lParam);
        case kRunWorkMessage:
            if (postedWork_) postedWork_->RunPosted();
            return 0;
        case WM_POWERBROADCAST:
            if (app_) app_->OnPowerBroadcast(wParam);
            return DefWindowProcA(window_, message, wParam, lParam);
        case kTrayCallbackMessage: OnTrayMessage(static_cast<UINT>(lParam)); return 0;
        case WM_SIZE:
            // Minimized means gone to the tray: no window, no taskbar button.
            if (wParam == SIZE_MINIMIZED) {
                ShowWindow(window_, SW_HIDE);
            } else if (statusBar_.Handle()) {
                SendMessageA(statusBar_.Handle(), WM_SIZE, 0, 0);
            }
            return 0;
        case WM_VSCROLL: OnScroll(LOWORD(wParam)); return 0;
        case WM_MOUSEWHEEL:
            ScrollTo(scroll_ - GET_WHEEL_DELTA_WPARAM(wParam) * Scale(kWheelStep) / WHEEL_DELTA);
            return 0;
        case kDpiChangedMessage: OnDpiChanged(HIWORD(wParam), *reinterpret_cast<RECT*>(lParam)); return 0;
        case WM_CLOSE: OnClose(); return 0;
        case WM_QUERYENDSESSION: return app_ ? app_->QueryEndSession() : TRUE;
        case WM_ENDSESSION:
            if (app_) app_->EndSession(wParam != FALSE);
            return 0;
        case WM_DESTROY:
            if (mainT_) mainT_->Stop();
            if (offTimer_) offTimer_->Stop();
            if (macroTimer_) macroTimer_->Stop();
            if (tray_) tray_->Close();
            PostQuitMessage(0);
            return 0;
        default:
            if (message == taskbarCreatedMessage_ && tray_) {
                tray_->OnTaskbarCreated();
                return 0;
            }
            if (message == showWindowMessage_) {
                if (app_ && app_->AnotherCopyStarted()) Restore();
                return 0;
            }
            return DefWindowProcA(window_, message, wParam, lParam);
    }
}

void MainWindow::OnCreate() {
    CreateControls();
    keyCapture_.Attach(Control(control_id::KeyE), [this](std::uint16_t virtualKey, KeyModifiers held) {
        if (app_) app_->CaptureKey(virtualKey, held);
    });
    links_.Attach(window_);
    FillLists();
    AddHints();
    AddProgramHints();
    Layout();
    OnTabChange();
}

void MainWindow::OnTimer(UINT_PTR timerId) {
    if (!app_) return;
    if (timerId == kMainTId) {
        tray_->HoldCalls();
        app_->OnTick();
        tray_->ReleaseCalls();
    }
    if (timerId == kOffTimerId) app_->OnSleepTimerMinute();
    if (timerId == kMacroTimerId) app_->OnMacroTimer();
}

void MainWindow::OnTrayMessage(UINT mouseMessage) {
    if (mouseMessage == WM_LBUTTONUP) {
        Restore();
    } else if (mouseMessage == WM_MOUSEMOVE) {
        // The click that follows activates the shell's tray; the application the user works in
        // is the one in front while the pointer rests on the icon. On a busy machine this
        // message may come after the click, with the tray or this program in front: the
        // application is then the first one below them.
        POINT cursor{};
        GetCursorPos(&cursor);
        const HWND tray = GetAncestor(WindowFromPoint(cursor), GA_ROOT);
        const HWND front = GetForegroundWindow();
        appBeforeTray_ = front && IsApplication(front, tray) ? front : FirstApplicationBelow(tray);
    } else if (mouseMessage == WM_RBUTTONUP) {
        const auto item = menu_.Track(window_);
        // The menu needs the foreground. Left with a hidden window, it would take the keys of
        // the next presses.
        if (!IsWindowVisible(window_) && GetForegroundWindow() == window_) ReturnToApplication();
        if (item) OnMenuChoice(*item);
    }
}

bool MainWindow::IsApplication(HWND window, HWND tray) const {
    return window != tray && GetAncestor(window, GA_ROOTOWNER) != window_;
}

HWND MainWindow::FirstApplicationBelow(HWND tray) const {
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
        // Windows always on top and tool windows (bars, on-screen displays) are not where the
        // user works.
        const LONG_PTR extendedStyle = GetWindowLongPtrA(window, GWL_EXSTYLE);
        if (IsWindowVisible(window) && IsApplication(window, tray) &&
            !(extendedStyle & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW))) {
            return window;
        }
    }
    return nullptr;
}

void MainWindow::ReturnToApplication() {
    if (IsWindow(appBeforeTray_) && IsWindowVisible(appBeforeTray_)) SetForegroundWindow(appBeforeTray_);
}

void MainWindow::OnMenuChoice(TrayMenuItem item) {
    switch (item) {
        case TrayMenuItem::WinLIRCPM: app_->SelectMode(EmulationMode::WinLIRC); break;
        case TrayMenuItem::KeysPM: app_->SelectMode(EmulationMode::Keys); break;
        case TrayMenuItem::MousePM: app_->SelectMode(EmulationMode::Mouse); break;
        case TrayMenuItem::WMAPPCOMMANDPM: app_->SelectMode(EmulationMode::Messages); break;
        case TrayMenuItem::TimingPM: OpenTiming(); break;
        case TrayMenuItem::RestorePM: Restore(); break;
        case TrayMenuItem::MinimizePM: Minimize(); break;
        case TrayMenuItem::ExitPM:
            app_->RequestExit();
            SendMessageA(window_, WM_CLOSE, 0, 0);
            break;
    }
}

// Until the program is really to end, closing the window only sends it to the tray.
void MainWindow::OnClose() {
    if (app_ && !app_->CanClose()) {
        Minimize();
        return;
    }
    if (app_) app_->Exit();
    DestroyWindow(window_);
}

void MainWindow::Restore() {
    ShowWindow(window_, SW_SHOW);
    if (IsIconic(window_)) ShowWindow(window_, SW_RESTORE);
    SetForegroundWindow(window_);
}

void MainWindow::Minimize() {
    if (!IsWindowVisible(window_)) return;
    ShowWindow(window_, SW_MINIMIZE);
    ShowWindow(window_, SW_HIDE);
}

}  // namespace quorvel
