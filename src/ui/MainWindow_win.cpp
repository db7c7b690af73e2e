#include "ui/MainWindow_win.h"

#include <commctrl.h>

#include "ResourceIds.h"
#include "ui/TrayIcon_win.h"
#include "ui/ControlIds.h"

namespace quorvel {
namespace {

namespace id = control_id;

constexpr char kClassName[] = QUORVEL_MAIN_CLASS;
constexpr int kClientWidth = 250;
constexpr int kClientHeight = 560;
constexpr UINT_PTR kMainTId = 1;
constexpr UINT_PTR kOffTimerId = 2;
// Work handed over from another thread; lParam points to the std::function.
constexpr UINT kRunWorkMessage = WM_APP + 1;

constexpr DWORD kLabel = WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
constexpr DWORD kCheck = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kRadio = WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON;
constexpr DWORD kEdit = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
constexpr DWORD kList = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr DWORD kGroup = WS_CHILD | WS_VISIBLE | BS_GROUPBOX;
constexpr DWORD kSpeedButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_ICON;
constexpr DWORD kIcon = WS_CHILD | WS_VISIBLE | SS_ICON | SS_REALSIZECONTROL;

// Pages of the settings tabs; controls of a page are shown only while its tab is selected.
enum Page { kAlways = -1, kGeneral, kWinLirc, kBeholder, kCompro };

struct ControlSpec {
    int id;
    const char* className;
    const char* text;
    DWORD style;
    int x, y, width, height;
    Page page = kAlways;
    int iconId = 0;
};

// Positions in pixels at 96 DPI, client coordinates.
const ControlSpec kControls[] = {
    {0, "BUTTON", "RC", kGroup, 6, 4, 237, 61},
    {id::WDMCB, "COMBOBOX", "", kList | WS_DISABLED, 14, 20, 221, 160},
    {id::RCTypeL, "STATIC", "", kLabel, 14, 46, 221, 14},

    {0, "BUTTON", "RC Button", kGroup, 6, 68, 237, 61},
    {0, "STATIC", "RC Code:", kLabel, 14, 84, 72, 13},
    {id::Code1ST, "STATIC", "", kLabel, 88, 84, 36, 13},
    {0, "STATIC", "Repeat Count:", kLabel, 130, 84, 70, 13},
    {id::RepeatCountL, "STATIC", "0", kLabel, 202, 84, 20, 13},
    {0, "STATIC", "Extended Code:", kLabel, 14, 98, 72, 13},
    {id::Code2ST, "STATIC", "", kLabel, 88, 98, 70, 13},
    {0, "STATIC", "Name:", kLabel, 14, 112, 72, 13},
    {id::NameST, "STATIC", "", kLabel, 88, 112, 130, 13},
    {id::KeyPI, "STATIC", "", kIcon, 222, 108, 16, 16, kAlways, IDI_TRAY_IDLE},

    {0, "BUTTON", "RC Button Properties", kGroup, 6, 128, 237, 153},
    {0, "STATIC", "RC Code:", kLabel, 14, 144, 44, 13},
    {id::NameRCCodeST, "STATIC", "...", kLabel, 60, 144, 28, 13},
    {0, "STATIC", "Extended Code:", kLabel, 92, 144, 72, 13},
    {id::NameRCCodeExST, "STATIC", "...", kLabel, 166, 144, 70, 13},
    {0, "STATIC", "", kIcon, 14, 160, 20, 20, kAlways, IDI_PROP_NAME},
    {id::NameE, "EDIT", "", kEdit, 38, 160, 150, 20},
    {id::KeyRepeatCB, "BUTTON", "", kCheck, 194, 162, 16, 16},
    {id::SaveButtonPropertiesSB, "BUTTON", "", kSpeedButton, 214, 159, 22, 22, kAlways, IDI_SAVE_BUTTON},
    {0, "STATIC", "", kIcon, 14, 184, 20, 20, kAlways, IDI_PROP_ACTION},
    {id::NameActionCB, "COMBOBOX", "", kList, 38, 184, 94, 200},
    {0, "STATIC", "", kIcon, 136, 184, 20, 20, kAlways, IDI_PROP_MOUSE},
    {id::MsCB, "COMBOBOX", "", kList, 158, 184, 80, 200},
    {0, "STATIC", "", kIcon, 14, 208, 20, 20, kAlways, IDI_PROP_KEY},
    {id::KeyE, "EDIT", "None", kEdit | ES_READONLY, 38, 208, 150, 20},
    {id::LWinCB, "BUTTON", "Win", kCheck, 194, 210, 44, 16},
    {0, "STATIC", "", kIcon, 14, 232, 20, 20, kAlways, IDI_PROP_MESSAGE},
    {id::NameMessageCB, "COMBOBOX", "", kList, 38, 232, 200, 300},
    {0, "STATIC", "", kIcon, 14, 256, 20, 20, kAlways, IDI_PROP_RUN},
    {id::RunE, "EDIT", "", kEdit, 38, 256, 174, 20},
    {id::RunSB, "BUTTON", "", kSpeedButton, 214, 255, 22, 22, kAlways, IDI_BROWSE},

    {0, "BUTTON", "Emulation", kGroup, 6, 284, 237, 37},
    {id::WinLIRCRB, "BUTTON", "", kRadio | WS_GROUP, 14, 300, 16, 16},
    {0, "STATIC", "", kIcon, 32, 298, 20, 20, kAlways, IDI_MODE_WINLIRC},
    {id::KeysRB, "BUTTON", "", kRadio, 70, 300, 16, 16},
    {0, "STATIC", "", kIcon, 88, 298, 20, 20, kAlways, IDI_MODE_KEYS},
    {id::MouseRB, "BUTTON", "", kRadio, 126, 300, 16, 16},
    {0, "STATIC", "", kIcon, 144, 298, 20, 20, kAlways, IDI_MODE_MOUSE},
    {id::WMRB, "BUTTON", "", kRadio, 182, 300, 16, 16},
    {0, "STATIC", "", kIcon, 200, 298, 20, 20, kAlways, IDI_MODE_MESSAGES},

    {0, "BUTTON", "Settings", kGroup, 6, 320, 237, 113},
    {id::SPC, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 12, 336, 225, 92},
    {id::AutorunCB, "BUTTON", "Autorun", kCheck, 18, 362, 100, 16, kGeneral},
    {id::AutorepeatCB, "BUTTON", "Autorepeat", kCheck, 122, 362, 100, 16, kGeneral},
    {id::ForceShutdownCB, "BUTTON", "Force Shutdown", kCheck, 18, 380, 100, 16, kGeneral},
    {id::ForceSuspendCB, "BUTTON", "Force Sleep", kCheck, 122, 380, 100, 16, kGeneral},
    {id::SoundCB, "BUTTON", "Sound", kCheck, 18, 398, 100, 16, kGeneral},
    {id::BHCB, "BUTTON", "Balloon Hints", kCheck, 122, 398, 90, 16, kGeneral},
    {id::SaveSetSB, "BUTTON", "", kSpeedButton, 210, 400, 22, 22, kGeneral, IDI_SAVE_SETTINGS},
    {id::LIRCServerCB, "BUTTON", "Enabled", kCheck, 18, 362, 100, 16, kWinLirc},
    {0, "STATIC", "Port:", kLabel, 18, 386, 30, 13, kWinLirc},
    {id::LIRCServerPortE, "EDIT", "8765", kEdit | ES_NUMBER, 50, 383, 50, 20, kWinLirc},
    {0, "STATIC", "Clients:", kLabel, 118, 386, 40, 13, kWinLirc},
    {id::LIRCServerClientsL, "STATIC", "...", kLabel, 160, 386, 40, 13, kWinLirc},
    {id::BTVCB, "BUTTON", "BeholdTV priority", kCheck, 18, 362, 200, 16, kBeholder},
    {id::ComproRemoteOffCB, "BUTTON", "ComproRemote disable", kCheck, 18, 362, 200, 16, kCompro},
    {id::ComproDTVCB, "BUTTON", "Compro DTV 4 interaction", kCheck, 18, 382, 200, 16, kCompro},

    {0, "BUTTON", "About", kGroup, 6, 436, 237, 101},
    {id::ProgNameL, "STATIC", "Quorvel", kLabel, 10, 452, 80, 13},
    {id::VersionL, "STATIC", "", kLabel, 94, 452, 70, 13},
    {0, "STATIC", "OS:", kLabel, 8, 480, 20, 13},
    {id::OSL, "STATIC", "", kLabel, 31, 480, 205, 13},
};

constexpr const char* kTabCaptions[] = {"General", "WinLIRC", "Beholder", "Compro"};

// Value labels drawn in blue.
constexpr int kBlueLabels[] = {id::RCTypeL, id::Code1ST,        id::Code2ST, id::NameST,
                               id::NameRCCodeST, id::NameRCCodeExST, id::OSL};

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

}  // namespace

void WindowTimer::Start(std::uint32_t intervalMs) {
    interval_ = intervalMs;
    SetTimer(window_, id_, intervalMs, nullptr);
}

void WindowTimer::Stop() {
    interval_ = 0;
    KillTimer(window_, id_);
}

MainWindow::MainWindow(HINSTANCE instance)
    : instance_(instance), mainThreadId_(GetCurrentThreadId()), mainT_(window_, kMainTId),
      offTimer_(window_, kOffTimerId) {}

MainWindow::~MainWindow() {
    if (window_) {
        SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    for (HICON icon : icons_) DestroyIcon(icon);
    if (font_) DeleteObject(font_);
}

bool MainWindow::Create() {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance_;
    windowClass.hIcon = LoadIconA(instance_, MAKEINTRESOURCEA(IDI_APP));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassExA(&windowClass)) return false;

    const HDC screen = GetDC(nullptr);
    dpi_ = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);

    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT frame{0, 0, Scale(kClientWidth), Scale(kClientHeight)};
    AdjustWindowRect(&frame, style, FALSE);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    CreateWindowExA(0, kClassName, QUORVEL_MAIN_CAPTION, style, left, top, width, height, nullptr, nullptr,
                    instance_, this);
    return window_ != nullptr;
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    return self ? self->HandleMessage(message, wParam, lParam) : DefWindowProcA(window, message, wParam, lParam);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: OnCreate(); return 0;
        case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
        case WM_TIMER: OnTimer(wParam); return 0;
        case WM_NOTIFY:
            if (reinterpret_cast<NMHDR*>(lParam)->code == TCN_SELCHANGE) OnTabChange();
            return 0;
        case WM_CTLCOLORSTATIC:
            return OnControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case kRunWorkMessage: (*reinterpret_cast<const std::function<void()>*>(lParam))(); return 0;
        case WM_POWERBROADCAST:
            if (events_) events_->OnPowerBroadcast(wParam);
            return DefWindowProcA(window_, message, wParam, lParam);
        case Win32TrayIcon::kCallbackMessage:
            if (lParam == WM_LBUTTONUP) Restore();
            return 0;
        case WM_CLOSE: OnClose(); return 0;
        case WM_DESTROY:
            mainT_.Stop();
            offTimer_.Stop();
            PostQuitMessage(0);
            return 0;
        default: return DefWindowProcA(window_, message, wParam, lParam);
    }
}

void MainWindow::OnCreate() {
    font_ = CreateFontA(-MulDiv(11, dpi_, 96), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                        "MS Sans Serif");
    for (const ControlSpec& spec : kControls) {
        const HWND control =
            CreateWindowExA(0, spec.className, spec.text, spec.style, Scale(spec.x), Scale(spec.y),
                            Scale(spec.width), Scale(spec.height), window_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)), instance_, nullptr);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        if (spec.iconId) {
            const int size = Scale(spec.style & SS_ICON ? spec.width : 16);
            const HICON icon = LoadIconSized(spec.iconId, size);
            SendMessageA(control, (spec.style & SS_ICON) ? STM_SETICON : BM_SETIMAGE,
                         (spec.style & SS_ICON) ? reinterpret_cast<WPARAM>(icon) : IMAGE_ICON,
                         reinterpret_cast<LPARAM>(icon));
        }
    }
    const HWND tabs = Control(id::SPC);
    for (int i = 0; i < 4; ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(kTabCaptions[i]);
        SendMessageA(tabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    OnTabChange();

    statusBar_ = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id::StatusSB)), instance_, nullptr);
    const int panelEdges[] = {Scale(210), -1};
    SendMessageA(statusBar_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(panelEdges));
    SendMessageA(statusBar_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
}

HICON MainWindow::LoadIconSized(int iconId, int size) const {
    const auto icon =
        static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(iconId), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    if (icon) const_cast<MainWindow*>(this)->icons_.push_back(icon);
    return icon;
}

void MainWindow::OnTabChange() {
    const int page = static_cast<int>(SendMessageA(Control(id::SPC), TCM_GETCURSEL, 0, 0));
    for (const ControlSpec& spec : kControls) {
        if (spec.page == kAlways) continue;
        const HWND control = Control(spec.id);
        if (!control) {
            // Captions without an identifier: find them by position among the page's controls.
            continue;
        }
        ShowWindow(control, spec.page == page ? SW_SHOW : SW_HIDE);
        if (spec.page == page) SetWindowPos(control, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
}

LRESULT MainWindow::OnControlColor(HDC dc, HWND control) {
    const int controlId = GetDlgCtrlID(control);
    SetBkMode(dc, TRANSPARENT);
    for (int blue : kBlueLabels) {
        if (controlId == blue) SetTextColor(dc, RGB(0, 0, 255));
    }
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

void MainWindow::OnCommand(int controlId, int code) {
    if (!events_) return;
    CheckControl check{};
    if (code == BN_CLICKED && CheckFromId(controlId, check)) {
        events_->OnClick(check);
    } else if (code == BN_CLICKED && controlId == id::SaveButtonPropertiesSB) {
        events_->OnButtonClick(ButtonControl::SaveButtonPropertiesSB);
    } else if (code == BN_CLICKED && controlId == id::SaveSetSB) {
        events_->OnButtonClick(ButtonControl::SaveSetSB);
    } else if (code == BN_CLICKED && controlId == id::RunSB) {
        events_->OnButtonClick(ButtonControl::RunSB);
    } else if (code == CBN_SELCHANGE && controlId == id::WDMCB) {
        events_->OnListChange(ListControl::WDMCB);
    }
}

void MainWindow::OnTimer(UINT_PTR timerId) {
    if (!events_) return;
    if (timerId == kMainTId) events_->OnTimer(TimerId::MainT);
    if (timerId == kOffTimerId) events_->OnTimer(TimerId::OffTimer);
}

void MainWindow::Restore() {
    ShowWindow(window_, SW_SHOW);
    ShowWindow(window_, SW_RESTORE);
    SetForegroundWindow(window_);
}

void MainWindow::OnClose() {
    if (events_ && !events_->OnCloseQuery()) return;
    if (events_) events_->OnClose();
    DestroyWindow(window_);
}

std::string MainWindow::GetText(TextControl control) const {
    const HWND hwnd = Control(TextId(control));
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

void MainWindow::SetText(TextControl control, const std::string& text) {
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
    SendMessageA(Control(id::KeyPI), STM_SETICON, reinterpret_cast<WPARAM>(LoadIconSized(IDI_TRAY_FIRST + index, Scale(16))),
                 0);
}

void MainWindow::RunSync(const std::function<void()>& work) {
    if (GetCurrentThreadId() == mainThreadId_) {
        work();
        return;
    }
    SendMessageA(window_, kRunWorkMessage, 0, reinterpret_cast<LPARAM>(&work));
}

}  // namespace quorvel
