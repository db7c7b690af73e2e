#include "ui/MainWindow_win.h"

#include <commctrl.h>
#include <cderr.h>
#include <commdlg.h>

#include <algorithm>
#include <cstdlib>

#include "ResourceIds.h"
#include "ui/ControlIds.h"
#include "ui/MainWindowLayout_win.h"

namespace quorvel {
namespace {

namespace id = control_id;

constexpr char kClassName[] = QUORVEL_MAIN_CLASS;
constexpr UINT_PTR kMainTId = 1;
constexpr UINT_PTR kOffTimerId = 2;
// Work posted from other threads waits in postedWork_.
constexpr UINT kRunWorkMessage = WM_APP + 1;
// Declared here so that the program builds with headers older than Windows 8.1's.
constexpr UINT kDpiChangedMessage = 0x02E0;
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr int kFontHeight = -11;
constexpr int kDropHeightFloor = 100;
// Room the selected tab takes beyond its own width.
constexpr int kTabsMargin = 6;
constexpr std::size_t kPathCapacity = 32768;

// The pictures exist in these sizes; a picture is shown in the one nearest its scaled size,
// so it is never blurred by stretching.
constexpr int kPictureSizes[] = {16, 20, 24, 32, 40, 48};

int NearestPictureSize(int pixels) {
    int best = kPictureSizes[0];
    for (int size : kPictureSizes) {
        if (std::abs(size - pixels) < std::abs(best - pixels)) best = size;
    }
    return best;
}

int TextId(TextControl control) {
    switch (control) {
        case TextControl::Code1ST: return id::Code1ST;
        case TextControl::Code2ST: return id::Code2ST;
        case TextControl::NameST: return id::NameST;
        case TextControl::RepeatCountL: return id::RepeatCountL;
        case TextControl::NameRCCodeST: return id::NameRCCodeST;
        case TextControl::NameRCCodeExST: return id::NameRCCodeExST;
        case TextControl::NameE: return id::NameE;
        case TextControl::KeyE: return id::KeyE;
        case TextControl::RunE: return id::RunE;
        case TextControl::RCTypeL: return id::RCTypeL;
        case TextControl::LIRCServerPortE: return id::LIRCServerPortE;
        case TextControl::LIRCServerClientsL: return id::LIRCServerClientsL;
        case TextControl::OSL: return id::OSL;
        case TextControl::VersionL: return id::VersionL;
    }
    return 0;
}

int CheckId(CheckControl control) {
    switch (control) {
        case CheckControl::AutorepeatCB: return id::AutorepeatCB;
        case CheckControl::KeyRepeatCB: return id::KeyRepeatCB;
        case CheckControl::LWinCB: return id::LWinCB;
        case CheckControl::SoundCB: return id::SoundCB;
        case CheckControl::BHCB: return id::BHCB;
        case CheckControl::OSDCB: return id::OSDCB;
        case CheckControl::OSD2CB: return id::OSD2CB;
        case CheckControl::BTVCB: return id::BTVCB;
        case CheckControl::ComproRemoteOffCB: return id::ComproRemoteOffCB;
        case CheckControl::ComproDTVCB: return id::ComproDTVCB;
        case CheckControl::LIRCServerCB: return id::LIRCServerCB;
        case CheckControl::AutorunCB: return id::AutorunCB;
        case CheckControl::ForceShutdownCB: return id::ForceShutdownCB;
        case CheckControl::ForceSuspendCB: return id::ForceSuspendCB;
        case CheckControl::WinLIRCRB: return id::WinLIRCRB;
        case CheckControl::KeysRB: return id::KeysRB;
        case CheckControl::MouseRB: return id::MouseRB;
        case CheckControl::WMRB: return id::WMRB;
    }
    return 0;
}

int ListId(ListControl control) {
    switch (control) {
        case ListControl::NameActionCB: return id::NameActionCB;
        case ListControl::MsCB: return id::MsCB;
        case ListControl::NameMessageCB: return id::NameMessageCB;
        case ListControl::WDMCB: return id::WDMCB;
        case ListControl::KeyE: return id::KeyE;
    }
    return 0;
}

bool CheckFromId(int controlId, CheckControl& control) {
    for (int i = 0; i <= static_cast<int>(CheckControl::WMRB); ++i) {
        if (CheckId(static_cast<CheckControl>(i)) == controlId) {
            control = static_cast<CheckControl>(i);
            return true;
        }
    }
    return false;
}

bool ButtonFromId(int controlId, ButtonControl& control) {
    switch (controlId) {
        case id::SaveButtonPropertiesSB: control = ButtonControl::SaveButtonPropertiesSB; return true;
        case id::SaveSetSB: control = ButtonControl::SaveSetSB; return true;
        case id::RunSB: control = ButtonControl::RunSB; return true;
        case id::OSDFI: control = ButtonControl::OSDFI; return true;
        default: return false;
    }
}

std::string WindowText(HWND window) {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool IsSpeedButton(const ControlSpec& place) {
    return lstrcmpiA(place.className, "BUTTON") == 0 && (place.style & BS_ICON) != 0;
}

bool IsBlue(int controlId) {
    for (const ControlSpec& place : MainWindowControls()) {
        if (place.id == controlId && place.id != 0) return place.look == Look::Blue;
    }
    return false;
}

// With visual styles the tab control's body is drawn in the window colour, and the controls
// lying on it must match; without them it is the dialog colour like the rest of the window.
bool VisualStylesActive() {
    const HMODULE uxtheme = GetModuleHandleA("uxtheme.dll");
    const auto isAppThemed =
        uxtheme ? reinterpret_cast<BOOL(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(uxtheme, "IsAppThemed")))
                : nullptr;
    return isAppThemed && isAppThemed();
}

}  // namespace

void WindowTimer::Start(std::uint32_t intervalMs) {
    interval_ = intervalMs;
    SetTimer(window_, id_, intervalMs, nullptr);
}

void WindowTimer::Stop() {
    interval_ = 0;
    if (window_) KillTimer(window_, id_);
}

MainWindow::MainWindow(HINSTANCE instance)
    : instance_(instance),
      taskbarCreatedMessage_(RegisterWindowMessageA("TaskbarCreated")),
      mainT_(window_, kMainTId),
      offTimer_(window_, kOffTimerId),
      postedWork_(window_, kRunWorkMessage),
      menu_(instance) {}

MainWindow::~MainWindow() {
    tray_.reset();
    if (window_) DestroyWindow(window_);
    for (HICON icon : pictures_) DestroyIcon(icon);
    for (HICON icon : indicatorPictures_) {
        if (icon) DestroyIcon(icon);
    }
    for (HFONT font : {font_, boldFont_, linkFont_}) {
        if (font) DeleteObject(font);
    }
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

    const HDC screen = GetDC(nullptr);
    dpi_ = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);

    // A fixed single border with the system menu and the minimize box only.
    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, Scale(kClientWidth), Scale(kClientHeight)};
    AdjustWindowRect(&frame, style, FALSE);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    CreateWindowExA(0, kClassName, QUORVEL_MAIN_CAPTION, style, left, top, width, height, nullptr, nullptr,
                    instance_, this);
    if (!window_) return false;
    tray_ = std::make_unique<Win32TrayIcon>(window_, instance_);
    return true;
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY && self) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        self = nullptr;
    }
    return self ? self->HandleMessage(message, wParam, lParam) : DefWindowProcA(window, message, wParam, lParam);
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
        case kRunWorkMessage: postedWork_.RunPosted(); return 0;
        case WM_POWERBROADCAST:
            if (events_) events_->OnPowerBroadcast(wParam);
            return DefWindowProcA(window_, message, wParam, lParam);
        case Win32TrayIcon::kCallbackMessage: OnTrayMessage(static_cast<UINT>(lParam)); return 0;
        case Win32TrayIcon::kApplyPictureMessage: tray_->ApplyPicture(); return 0;
        case WM_SIZE:
            // Minimized means gone to the tray: no window, no taskbar button.
            if (wParam == SIZE_MINIMIZED) {
                ShowWindow(window_, SW_HIDE);
            } else if (statusBar_) {
                SendMessageA(statusBar_, WM_SIZE, 0, 0);
            }
            return 0;
        case kDpiChangedMessage: OnDpiChanged(HIWORD(wParam), *reinterpret_cast<RECT*>(lParam)); return 0;
        case WM_CLOSE: OnClose(); return 0;
        case WM_QUERYENDSESSION: return events_ ? events_->OnQueryEndSession() : TRUE;
        case WM_ENDSESSION:
            if (events_) events_->OnEndSession(wParam != FALSE);
            return 0;
        case WM_DESTROY:
            mainT_.Stop();
            offTimer_.Stop();
            if (tray_) tray_->Hide();
            PostQuitMessage(0);
            return 0;
        default:
            if (message == taskbarCreatedMessage_ && tray_) {
                tray_->OnTaskbarCreated();
                return 0;
            }
            return DefWindowProcA(window_, message, wParam, lParam);
    }
}

void MainWindow::OnCreate() {
    CreateFonts();
    for (const ControlSpec& place : MainWindowControls()) {
        const DWORD exStyle = lstrcmpiA(place.className, "EDIT") == 0 ? WS_EX_CLIENTEDGE : 0;
        controls_.push_back(CreateWindowExA(exStyle, place.className, place.text, place.style, 0, 0, 0, 0, window_,
                                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(place.id)), instance_,
                                            nullptr));
    }
    const HWND tabs = Control(id::SPC);
    for (int i = 0; i < static_cast<int>(std::size(kTabCaptions)); ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(kTabCaptions[i]);
        SendMessageA(tabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    // Group boxes lie below everything else, so that nothing they enclose is clipped away by them.
    const auto specs = MainWindowControls();
    for (std::size_t i = 0; i < specs.size(); ++i) {
        if ((specs[i].style & BS_TYPEMASK) == BS_GROUPBOX && lstrcmpiA(specs[i].className, "BUTTON") == 0) {
            SetWindowPos(controls_[i], HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
    statusBar_ = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id::StatusSB)), instance_, nullptr);
    keyCapture_.Attach(Control(id::KeyE), [this](std::uint16_t virtualKey, KeyModifiers held) {
        if (events_) events_->OnKeyEKeyDown(virtualKey, held);
    });
    links_.Attach(window_);
    AddHints();
    Layout();
    OnTabChange();
}

// The speed buttons show only a picture; their caption, which screen readers announce, is
// also the hint that pops up over them.
void MainWindow::AddHints() {
    hints_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance_,
                             nullptr);
    const auto specs = MainWindowControls();
    for (std::size_t i = 0; i < specs.size(); ++i) {
        if (!IsSpeedButton(specs[i])) continue;
        TTTOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window_;
        tool.uId = reinterpret_cast<UINT_PTR>(controls_[i]);
        tool.lpszText = const_cast<char*>(specs[i].text);
        SendMessageA(hints_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void MainWindow::CreateFonts() {
    for (HFONT* font : {&font_, &boldFont_, &linkFont_}) {
        if (*font) DeleteObject(*font);
    }
    const auto make = [&](int weight, BOOL underline) {
        return CreateFontA(Scale(kFontHeight), 0, 0, 0, weight, FALSE, underline, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                           "MS Sans Serif");
    };
    font_ = make(FW_NORMAL, FALSE);
    boldFont_ = make(FW_BOLD, FALSE);
    linkFont_ = make(FW_NORMAL, TRUE);
}

void MainWindow::Layout() {
    const auto specs = MainWindowControls();
    for (std::size_t i = 0; i < specs.size(); ++i) {
        const ControlSpec& place = specs[i];
        const HWND control = controls_[i];
        const HFONT font = place.look == Look::Bold ? boldFont_ : place.look == Look::Link ? linkFont_ : font_;
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        int x = Scale(place.x), y = Scale(place.y), width = Scale(place.width), height = Scale(place.height);
        if ((place.style & SS_TYPEMASK) == SS_ICON && place.width == place.height) {
            // Centred in its place at the size it was drawn for.
            const int size = NearestPictureSize(width);
            x += (width - size) / 2;
            y += (height - size) / 2;
            width = height = size;
        }
        if (lstrcmpiA(place.className, "COMBOBOX") == 0) height = std::max(height, Scale(kDropHeightFloor));
        SetWindowPos(control, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    LoadPictures();
    SizeTabs();

    const int panelEdges[] = {Scale(kStatusPanel0Width), -1};
    SendMessageA(statusBar_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    SendMessageA(statusBar_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(panelEdges));
    SendMessageA(statusBar_, WM_SIZE, 0, 0);
    InvalidateRect(window_, nullptr, TRUE);
}

HICON MainWindow::LoadIconSized(int iconId, int width, int height) {
    return static_cast<HICON>(
        LoadImageA(instance_, MAKEINTRESOURCEA(iconId), IMAGE_ICON, width, height, LR_DEFAULTCOLOR));
}

void MainWindow::LoadPictures() {
    std::vector<HICON> previous;
    previous.swap(pictures_);
    const auto specs = MainWindowControls();
    for (std::size_t i = 0; i < specs.size(); ++i) {
        const ControlSpec& place = specs[i];
        if (!place.iconId || place.id == id::KeyPI) continue;
        const bool isPicture = (place.style & SS_TYPEMASK) == SS_ICON;
        const bool square = place.width == place.height;
        // Speed buttons carry a 16 px glyph.
        const int width = isPicture ? (square ? NearestPictureSize(Scale(place.width)) : Scale(place.width))
                                    : NearestPictureSize(Scale(16));
        const int height = isPicture && !square ? Scale(place.height) : width;
        const HICON icon = LoadIconSized(place.iconId, width, height);
        pictures_.push_back(icon);
        if (isPicture) {
            SendMessageA(controls_[i], STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
        } else {
            SendMessageA(controls_[i], BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
        }
    }
    for (HICON icon : previous) DestroyIcon(icon);

    // The indicator shows pictures of the tray image list; all four are kept ready for the tick.
    int shown = -1;
    const HICON current = reinterpret_cast<HICON>(SendMessageA(Control(id::KeyPI), STM_GETICON, 0, 0));
    for (std::size_t i = 0; i < indicatorPictures_.size(); ++i) {
        if (indicatorPictures_[i] && indicatorPictures_[i] == current) shown = static_cast<int>(i);
    }
    std::array<HICON, 4> previousIndicator = indicatorPictures_;
    const int size = NearestPictureSize(Scale(16));
    for (std::size_t i = 0; i < indicatorPictures_.size(); ++i) {
        indicatorPictures_[i] = LoadIconSized(IDI_TRAY_FIRST + static_cast<int>(i), size, size);
    }
    SetIndicatorImage(shown < 0 ? 2 : shown);
    for (HICON icon : previousIndicator) {
        if (icon) DestroyIcon(icon);
    }
}

// The four tabs share the control's width equally, so that all of them fit side by side
// whatever the font.
void MainWindow::SizeTabs() {
    const HWND tabs = Control(id::SPC);
    RECT client, first;
    GetClientRect(tabs, &client);
    if (!SendMessageA(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first))) return;
    const int count = static_cast<int>(std::size(kTabCaptions));
    const int width = (client.right - client.left - Scale(kTabsMargin)) / count;
    SendMessageA(tabs, TCM_SETITEMSIZE, 0, MAKELPARAM(width, first.bottom - first.top));
}

void MainWindow::OnDpiChanged(int dpi, const RECT& suggested) {
    dpi_ = dpi;
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    CreateFonts();
    Layout();
}

void MainWindow::OnTabChange() {
    const int page = static_cast<int>(SendMessageA(Control(id::SPC), TCM_GETCURSEL, 0, 0));
    const auto specs = MainWindowControls();
    for (std::size_t i = 0; i < specs.size(); ++i) {
        if (specs[i].page == Page::Always) continue;
        ShowWindow(controls_[i], static_cast<int>(specs[i].page) == page ? SW_SHOW : SW_HIDE);
    }
}

bool MainWindow::IsPageControl(HWND control) const {
    const auto specs = MainWindowControls();
    for (std::size_t i = 0; i < specs.size(); ++i) {
        if (controls_[i] == control) return specs[i].page != Page::Always;
    }
    return false;
}

LRESULT MainWindow::OnControlColor(HDC dc, HWND control) {
    SetBkMode(dc, TRANSPARENT);
    COLORREF colour;
    if (links_.TextColour(control, colour)) {
        SetTextColor(dc, colour);
    } else if (IsBlue(GetDlgCtrlID(control))) {
        SetTextColor(dc, kBlue);
    }
    const bool onThemedPage = IsPageControl(control) && VisualStylesActive();
    return reinterpret_cast<LRESULT>(GetSysColorBrush(onThemedPage ? COLOR_WINDOW : COLOR_BTNFACE));
}

bool MainWindow::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (menu_.Draw(item)) return true;
    if (item.CtlType != ODT_STATIC || static_cast<int>(item.CtlID) != id::OSDFI) return false;
    // The swatch is drawn in its 10 x 10 design units, scaled to the screen.
    const int saved = SaveDC(item.hDC);
    SetMapMode(item.hDC, MM_ANISOTROPIC);
    SetWindowExtEx(item.hDC, 96, 96, nullptr);
    SetViewportExtEx(item.hDC, dpi_, dpi_, nullptr);
    DrawOsdSwatch(item.hDC, swatchColour_);
    RestoreDC(item.hDC, saved);
    return true;
}

bool MainWindow::OnSetCursor(HWND control) {
    if (control != Control(id::OSDFI)) return false;
    SetCursor(LoadCursorA(nullptr, IDC_HAND));
    return true;
}

void MainWindow::OnCommand(int controlId, int code, HWND control) {
    if (!events_) return;
    // Menu items (and a WM_COMMAND posted with an item's identifier) come without a control.
    if (!control) {
        if (const auto item = Win32TrayMenu::ItemOfCommand(controlId)) events_->OnMenuClick(*item);
        return;
    }
    CheckControl check{};
    ButtonControl button{};
    if (code == BN_CLICKED && CheckFromId(controlId, check)) {
        events_->OnClick(check);
    } else if (code == BN_CLICKED && ButtonFromId(controlId, button)) {
        events_->OnButtonClick(button);
    } else if (code == STN_CLICKED && links_.OnClicked(window_, controlId)) {
        return;
    } else if (code == CBN_SELCHANGE && controlId == id::WDMCB) {
        events_->OnListChange(ListControl::WDMCB);
    } else if (code == CBN_SELCHANGE && controlId == id::KeyE) {
        events_->OnListChange(ListControl::KeyE);
    }
}

void MainWindow::OnTimer(UINT_PTR timerId) {
    if (!events_) return;
    if (timerId == kMainTId) events_->OnTimer(TimerId::MainT);
    if (timerId == kOffTimerId) events_->OnTimer(TimerId::OffTimer);
}

void MainWindow::OnTrayMessage(UINT mouseMessage) {
    if (!events_) return;
    if (mouseMessage == WM_LBUTTONUP) {
        events_->OnTrayClick();
    } else if (mouseMessage == WM_MOUSEMOVE) {
        // The click that follows activates the shell's tray; the application the user works in
        // is the one in front while the pointer rests on the icon.
        const HWND front = GetForegroundWindow();
        if (front && front != window_) appBeforeTray_ = front;
    } else if (mouseMessage == WM_RBUTTONUP) {
        const auto item = menu_.Track(window_);
        // The menu needs the foreground. Left with a hidden window, it would take the keys of
        // the next presses: the application the user works in gets them again.
        if (!IsWindowVisible(window_) && GetForegroundWindow() == window_ && IsWindow(appBeforeTray_) &&
            IsWindowVisible(appBeforeTray_)) {
            SetForegroundWindow(appBeforeTray_);
        }
        if (item) events_->OnMenuClick(*item);
    }
}

void MainWindow::OnClose() {
    if (events_ && !events_->OnCloseQuery()) return;
    if (events_) events_->OnClose();
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

void MainWindow::Close() { SendMessageA(window_, WM_CLOSE, 0, 0); }

std::string MainWindow::GetText(TextControl control) const { return WindowText(Control(TextId(control))); }

void MainWindow::SetText(TextControl control, const std::string& text) {
    // A text that is not the chosen list item's caption leaves no item chosen, so that choosing
    // that item again still counts as a choice.
    if (control == TextControl::KeyE) {
        const int selected = GetItemIndex(ListControl::KeyE);
        if (selected >= 0 && ItemText(ListControl::KeyE, selected) != text) {
            SendMessageA(Control(id::KeyE), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        }
    }
    // The tick rewrites the same texts 20 times a second; unchanged ones are left alone.
    if (GetText(control) != text) SetWindowTextA(Control(TextId(control)), text.c_str());
}

bool MainWindow::IsChecked(CheckControl control) const {
    return SendMessageA(Control(CheckId(control)), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void MainWindow::SetChecked(CheckControl control, bool checked) {
    SendMessageA(Control(CheckId(control)), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void MainWindow::ClickRadio(CheckControl radio) {
    const HWND button = Control(CheckId(radio));
    SendMessageA(button, WM_LBUTTONDOWN, 0, 0);
    SendMessageA(button, WM_LBUTTONUP, 0, 0);
}

void MainWindow::SetItems(ListControl control, const std::vector<std::string>& items) {
    const HWND list = Control(ListId(control));
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items) SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

int MainWindow::ItemCount(ListControl control) const {
    return static_cast<int>(SendMessageA(Control(ListId(control)), CB_GETCOUNT, 0, 0));
}

std::string MainWindow::ItemText(ListControl control, int index) const {
    const HWND list = Control(ListId(control));
    const LRESULT length = SendMessageA(list, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    text.resize(static_cast<std::size_t>(SendMessageA(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

int MainWindow::GetItemIndex(ListControl control) const {
    return static_cast<int>(SendMessageA(Control(ListId(control)), CB_GETCURSEL, 0, 0));
}

void MainWindow::SetItemIndex(ListControl control, int index) {
    if (index >= ItemCount(control)) index = -1;
    SendMessageA(Control(ListId(control)), CB_SETCURSEL, index, 0);
}

void MainWindow::SetEnabled(ListControl control, bool enabled) { EnableWindow(Control(ListId(control)), enabled); }
void MainWindow::SetEnabled(TextControl control, bool enabled) { EnableWindow(Control(TextId(control)), enabled); }
void MainWindow::SetEnabled(CheckControl control, bool enabled) { EnableWindow(Control(CheckId(control)), enabled); }

void MainWindow::SetStatusText(int panel, const std::string& text) {
    SendMessageA(statusBar_, SB_SETTEXTA, panel, reinterpret_cast<LPARAM>(text.c_str()));
}

void MainWindow::SetIndicatorImage(int index) {
    if (index < 0 || index >= static_cast<int>(indicatorPictures_.size())) return;
    SendMessageA(Control(id::KeyPI), STM_SETICON,
                 reinterpret_cast<WPARAM>(indicatorPictures_[static_cast<std::size_t>(index)]), 0);
}

void MainWindow::SetSwatchColour(std::uint32_t colour) {
    swatchColour_ = colour;
    InvalidateRect(Control(id::OSDFI), nullptr, TRUE);
}

std::optional<std::string> MainWindow::ChooseApplication() {
    // The dialog opens on the program the button starts now, when that is a file name. It
    // refuses to open at all on one it cannot take (a quoted path, say): then it opens empty.
    std::optional<std::string> chosen = ChooseFile(GetText(TextControl::RunE));
    if (!chosen && CommDlgExtendedError() == FNERR_INVALIDFILENAME) chosen = ChooseFile({});
    return chosen;
}

std::optional<std::string> MainWindow::ChooseFile(std::string path) {
    path.resize(kPathCapacity, '\0');
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window_;
    dialog.lpstrFilter = "Executable files\0*.exe\0Command files\0*.cmd;*.bat\0";
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrTitle = "Select application to run";
    dialog.lpstrDefExt = "exe";
    dialog.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameA(&dialog)) return std::nullopt;
    path.resize(path.find('\0'));
    return path;
}

std::optional<std::uint32_t> MainWindow::ChooseColour(std::uint32_t current) {
    return colourDialog_.Choose(window_, current);
}

}  // namespace quorvel
