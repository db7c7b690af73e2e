#include "ui/FormDialog_win.h"

#include <algorithm>

#include "model/Pace.h"
#include "platform/win32/FileLog_win32.h"
#include "platform/win32/WideText_win32.h"

namespace quorvel {
namespace {

// Shown by DialogBox once it is filled and placed; brought to the front when opened from the tray.
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFOREGROUND;

// The controls and the caption are made in code, like the main window's: the template has none.
struct alignas(4) EmptyTemplate {
    DLGTEMPLATE header;
    WORD menu;
    WORD windowClass;
    WORD title;
};
static_assert(sizeof(DLGTEMPLATE) == 18, "the template's words follow its header without a gap");

}  // namespace

std::string MsBounds(std::uint32_t low, std::uint32_t high) {
    return "ms (" + std::to_string(low) + "-" + std::to_string(high) + ")";
}

FormDialog::FormDialog(const char* caption, std::span<const ControlSpec> controls, int width, int height)
    : caption_(caption), controls_(controls), width_(width), height_(height) {}

// A late message must not reach an object that no longer exists.
FormDialog::~FormDialog() {
    if (dialog_) SetWindowLongPtrA(dialog_, DWLP_USER, 0);
}

bool FormDialog::Run(HWND owner, HINSTANCE instance, HFONT font, int dpi, Log& log) {
    owner_ = owner;
    instance_ = instance;
    font_ = font;
    dpi_ = dpi;
    EmptyTemplate empty{};
    empty.header.style = kDialogStyle;
    const INT_PTR result =
        DialogBoxIndirectParamW(instance, &empty.header, owner, DialogProc, reinterpret_cast<LPARAM>(this));
    if (result == -1) log.Write(LastErrorText("DialogBoxIndirectParamW"));
    return result == IDOK;
}

INT_PTR CALLBACK FormDialog::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<FormDialog*>(lParam);
        self->dialog_ = dialog;
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        self->OnInitDialog();
        // OnInitDialog has set the focus.
        return FALSE;
    }
    auto* self = reinterpret_cast<FormDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (!self) return FALSE;
    switch (message) {
        case WM_COMMAND: {
            const int controlId = LOWORD(wParam);
            if (controlId == IDOK) {
                if (self->OnOk()) EndDialog(dialog, IDOK);
            } else if (controlId == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
            } else {
                self->OnControl(controlId, HIWORD(wParam));
            }
            return TRUE;
        }
        case WM_DESTROY:
            SetWindowLongPtrA(dialog, DWLP_USER, 0);
            self->dialog_ = nullptr;
            return FALSE;
        default: return FALSE;
    }
}

void FormDialog::OnInitDialog() {
    SetWindowTextA(dialog_, caption_);
    CreateControls();
    PlaceOverOwner();
    SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetNextDlgTabItem(dialog_, nullptr, FALSE)), TRUE);
    OnInit();
}

// Unicode windows, so that a field holds any character the user types or pastes.
void FormDialog::CreateControls() {
    for (const ControlSpec& place : controls_) {
        const DWORD exStyle = lstrcmpiA(place.className, "EDIT") == 0 ? WS_EX_CLIENTEDGE : 0;
        // Edges are scaled rather than sizes, so that rounding never makes neighbours overlap.
        const int x = Scale(place.x), y = Scale(place.y);
        const HWND control = CreateWindowExW(exStyle, WideFromAnsi(place.className).c_str(),
                                             WideFromAnsi(place.text).c_str(), place.style, x, y,
                                             Scale(place.x + place.width) - x, Scale(place.y + place.height) - y,
                                             dialog_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(place.id)),
                                             instance_, nullptr);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    }
}

// Over the middle of its owner; in the middle of the owner's screen while the owner is hidden in
// the tray. Always whole on that screen's work area.
void FormDialog::PlaceOverOwner() {
    RECT frame{0, 0, Scale(width_), Scale(height_)};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(dialog_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(dialog_, GWL_EXSTYLE)));
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(owner_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    RECT centre = work;
    if (IsWindowVisible(owner_) && !IsIconic(owner_)) GetWindowRect(owner_, &centre);
    const int x = std::clamp<int>((centre.left + centre.right - width) / 2, work.left,
                                  std::max<int>(work.left, work.right - width));
    const int y = std::clamp<int>((centre.top + centre.bottom - height) / 2, work.top,
                                  std::max<int>(work.top, work.bottom - height));
    SetWindowPos(dialog_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string FormDialog::TextOf(int controlId) const {
    const HWND control = Control(controlId);
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

void FormDialog::SetText(int controlId, const std::string& text) { SetWindowTextA(Control(controlId), text.c_str()); }

std::u16string FormDialog::WideTextOf(int controlId) const {
    const HWND control = Control(controlId);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return Utf16(text);
}

void FormDialog::SetWideText(int controlId, std::u16string_view text) {
    SetWindowTextW(Control(controlId), Wide(text).c_str());
}

bool FormDialog::IsChecked(int controlId) const {
    return SendMessageA(Control(controlId), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void FormDialog::SetChecked(int controlId, bool checked) {
    SendMessageA(Control(controlId), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void FormDialog::Refuse(int controlId, const std::string& message) {
    MessageBoxA(dialog_, message.c_str(), "Quorvel", MB_OK | MB_ICONEXCLAMATION);
    SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(controlId)), TRUE);
}

std::optional<std::uint32_t> FormDialog::TypedMs(int controlId, const char* label, std::uint32_t low,
                                                 std::uint32_t high) {
    const auto ms = ParseTypedMs(TextOf(controlId), low, high);
    if (!ms) {
        Refuse(controlId, std::string(label) + " type a whole number of milliseconds from " + std::to_string(low) +
                              " to " + std::to_string(high) + ".");
    }
    return ms;
}

}  // namespace quorvel
