// The main window's controls, fonts, pictures and places, at every DPI.
#include "ui/MainWindow_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

#include "ResourceIds.h"
#include "actions/AppCommand.h"
#include "actions/KeyCapture.h"
#include "actions/Mouse.h"
#include "engine/Application.h"
#include "engine/ButtonEditor.h"
#include "platform/win32/FileLog_win32.h"
#include "ui/ControlIds.h"
#include "ui/MainWindowLayout_win.h"
#include "ui/PictureButton_win.h"

namespace quorvel {
namespace {

namespace id = control_id;

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr int kFontHeight = -11;
constexpr int kDropHeightFloor = 100;
// Words for the controls that show only a picture or nothing; the guide uses the same.
constexpr ControlHint kHints[] = {
    {id::WinLIRCRB, "WinLIRC"},     {id::KeysRB, "Keys"},
    {id::MouseRB, "Mouse"},         {id::WMRB, "Messages"},
    {id::NameActionCB, "Action"},   {id::MsCB, "Mouse action"},
    {id::NameMessageCB, "Application command"}, {id::KeyRepeatCB, "Repeat while held"},
    {id::KeyE, "Key"},              {id::RunE, "Program to start"},
    {id::WinLIRCEI, "WinLIRC"},     {id::KeysEI, "Keys"},
    {id::MsEI, "Mouse"},            {id::WMEI, "Messages"},
    {id::OSDFI, "OSD colour"},      {id::PaceB, "Pace..."},
    {id::MacroB, kNoMacroCaption},
};

// Room the selected tab takes beyond its own width.
constexpr int kTabsMargin = 6;

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

bool IsSpeedButton(const ControlSpec& place) {
    return lstrcmpiA(place.className, "BUTTON") == 0 && (place.style & BS_ICON) != 0;
}

bool IsPictureButton(const ControlSpec& place) {
    return lstrcmpiA(place.className, "BUTTON") == 0 && (place.style & BS_TYPEMASK) == BS_OWNERDRAW;
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

void MainWindow::CreateControls() {
    CreateFonts();
    for (const ControlSpec& place : MainWindowControls()) {
        const DWORD exStyle = lstrcmpiA(place.className, "EDIT") == 0 ? WS_EX_CLIENTEDGE : 0;
        // Scrolled under the status bar, a control is clipped by it.
        controls_.push_back(CreateWindowExA(exStyle, place.className, place.text, place.style | WS_CLIPSIBLINGS, 0, 0,
                                            0, 0, window_,
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
    const HWND bar = statusBar_.Create(window_, id::StatusSB, instance_);
    SetWindowPos(bar, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void MainWindow::FillLists() {
    SetItems(id::NameActionCB, ActionNames());
    SetItems(id::MsCB, MouseActionNames());
    SetItems(id::NameMessageCB, AppCommandNames());
    SetItems(id::KeyE, PresetKeyCaptions());
}

// The speed buttons show only a picture; their caption, which screen readers announce, is
// also the hint that pops up over them. Other controls without words get theirs from kHints.
void MainWindow::AddHints() {
    hints_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance_,
                             nullptr);
    const auto specs = MainWindowControls();
    for (std::size_t i = 0; i < specs.size(); ++i) {
        if (IsSpeedButton(specs[i])) AddHint(controls_[i], specs[i].text);
    }
    AddControlHints(kHints);
}

void MainWindow::AddControlHints(std::span<const ControlHint> hints) {
    for (const ControlHint& hint : hints) {
        AddHint(Control(hint.id), hint.text);
        // The mouse over a drop-down field's text reaches the field's edit, not the list.
        if (const HWND edit = FindWindowExA(Control(hint.id), nullptr, "EDIT", nullptr)) AddHint(edit, hint.text);
    }
}

void MainWindow::AddHint(HWND control, const char* text) {
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<char*>(text);
    SendMessageA(hints_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void MainWindow::ChangeHint(HWND control, const std::string& text) {
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<char*>(text.c_str());
    SendMessageA(hints_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}

void MainWindow::CreateFonts() {
    const auto make = [&](int weight, BOOL underline) {
        return UniqueFont(CreateFontA(Scale(kFontHeight), 0, 0, 0, weight, FALSE, underline, FALSE, DEFAULT_CHARSET,
                                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                      DEFAULT_PITCH | FF_SWISS, "MS Sans Serif"));
    };
    font_ = make(FW_NORMAL, FALSE);
    boldFont_ = make(FW_BOLD, FALSE);
    linkFont_ = make(FW_NORMAL, TRUE);
}

void MainWindow::Layout() {
    const auto specs = MainWindowControls();
    for (std::size_t i = 0; i < specs.size(); ++i) {
        const ControlSpec& place = specs[i];
        const HFONT font = place.look == Look::Bold ? boldFont_.Get() : place.look == Look::Link ? linkFont_.Get()
                                                                                                  : font_.Get();
        SendMessageA(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    PlaceControls();
    for (std::size_t i = 0; i < specs.size(); ++i) {
        if (lstrcmpiA(specs[i].className, "COMBOBOX") == 0) FitListWidth(controls_[i]);
    }
    LoadPictures();
    SizeTabs();

    const int panelEdges[] = {Scale(kStatusPanel0Width), -1};
    statusBar_.SetFont(font_.Get(), panelEdges, 2);
    InvalidateRect(window_, nullptr, TRUE);
}

// Each control in its place, less what the window is scrolled by.
void MainWindow::PlaceControls() {
    const auto specs = MainWindowControls();
    HDWP places = BeginDeferWindowPos(static_cast<int>(specs.size()));
    for (std::size_t i = 0; i < specs.size(); ++i) {
        const ControlSpec& place = specs[i];
        // Edges are scaled rather than sizes, so that rounding never makes neighbours overlap.
        int x = Scale(place.x), y = Scale(place.y);
        int width = Scale(place.x + place.width) - x, height = Scale(place.y + place.height) - y;
        if ((place.style & SS_TYPEMASK) == SS_ICON && place.width == place.height) {
            // Centred in its place at the size it was drawn for.
            const int size = NearestPictureSize(width);
            x += (width - size) / 2;
            y += (height - size) / 2;
            width = height = size;
        }
        if (lstrcmpiA(place.className, "COMBOBOX") == 0) height = std::max(height, Scale(kDropHeightFloor));
        if (places) {
            places = DeferWindowPos(places, controls_[i], nullptr, x, y - scroll_, width, height,
                                    SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    if (!places || !EndDeferWindowPos(places)) log_.Write(LastErrorText("DeferWindowPos"));
}

UniqueIcon MainWindow::LoadIconSized(int iconId, int width, int height) const {
    return UniqueIcon(
        static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(iconId), IMAGE_ICON, width, height, LR_DEFAULTCOLOR)));
}

void MainWindow::LoadPictures() {
    // The controls let go of the old pictures before these are destroyed.
    std::vector<UniqueIcon> previous;
    previous.swap(pictures_);
    const auto specs = MainWindowControls();
    for (std::size_t i = 0; i < specs.size(); ++i) {
        const ControlSpec& place = specs[i];
        if (!place.iconId || place.id == id::KeyPI) continue;
        const bool isPicture = (place.style & SS_TYPEMASK) == SS_ICON;
        const bool square = place.width == place.height;
        // Speed buttons carry a 16 px glyph; picture buttons are as large as the picture they stand for.
        const int width = isPicture || IsPictureButton(place)
                              ? (square ? NearestPictureSize(Scale(place.width)) : Scale(place.width))
                              : NearestPictureSize(Scale(16));
        const int height = isPicture && !square ? Scale(place.height) : width;
        pictures_.push_back(LoadIconSized(place.iconId, width, height));
        const HICON icon = pictures_.back().Get();
        if (isPicture) {
            SendMessageA(controls_[i], STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
        } else if (IsPictureButton(place)) {
            buttonPictures_[place.id] = {icon, width};
            InvalidateRect(controls_[i], nullptr, TRUE);
        } else {
            SendMessageA(controls_[i], BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
        }
    }

    // The indicator shows pictures of the tray image list; all four are kept ready for the tick.
    decltype(indicatorPictures_) previousIndicator;
    previousIndicator.swap(indicatorPictures_);
    const int size = NearestPictureSize(Scale(16));
    for (std::size_t i = 0; i < indicatorPictures_.size(); ++i) {
        indicatorPictures_[i] = LoadIconSized(IDI_TRAY_FIRST + static_cast<int>(i), size, size);
    }
    SetIndicatorImage(indicatorShown_);
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
    FitWorkArea(false);
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
    if (const auto picture = buttonPictures_.find(static_cast<int>(item.CtlID));
        item.CtlType == ODT_BUTTON && picture != buttonPictures_.end()) {
        // The macro's picture stays pushed in while the button has a macro.
        const bool latched = picture->first == id::MacroB && app_ && !app_->State().editor.macro.empty();
        DrawPictureButton(item, picture->second.icon, picture->second.size, latched);
        return true;
    }
    if (item.CtlType != ODT_STATIC || static_cast<int>(item.CtlID) != id::OSDFI || !app_) return false;
    // The swatch is drawn in its 10 x 10 design units, scaled to the screen.
    const int saved = SaveDC(item.hDC);
    SetMapMode(item.hDC, MM_ANISOTROPIC);
    SetWindowExtEx(item.hDC, 96, 96, nullptr);
    SetViewportExtEx(item.hDC, dpi_, dpi_, nullptr);
    DrawOsdSwatch(item.hDC, app_->State().settings.osdColor);
    RestoreDC(item.hDC, saved);
    return true;
}

bool MainWindow::OnSetCursor(HWND control) {
    if (control != Control(id::OSDFI)) return false;
    SetCursor(LoadCursorA(nullptr, IDC_HAND));
    return true;
}

}  // namespace quorvel
