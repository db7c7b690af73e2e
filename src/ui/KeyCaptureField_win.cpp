#include "ui/KeyCaptureField_win.h"

#include <utility>

#include "platform/win32/WindowSubclass_win32.h"

namespace quorvel {
namespace {

constexpr UINT_PTR kSubclassId = 1;

bool IsDown(int virtualKey) { return (GetKeyState(virtualKey) & 0x8000) != 0; }

bool IsTabKeyDown(LPARAM lParam) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    return message && (message->message == WM_KEYDOWN || message->message == WM_CHAR) &&
           message->wParam == (message->message == WM_KEYDOWN ? VK_TAB : '\t');
}

}  // namespace

void KeyCaptureField::Attach(HWND combo, KeyDownHandler onKeyDown) {
    onKeyDown_ = std::move(onKeyDown);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (!GetComboBoxInfo(combo, &info) || !info.hwndItem) return;
    AttachSubclass(info.hwndItem, Subclass, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK KeyCaptureField::Subclass(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR self) {
    const auto& field = *reinterpret_cast<KeyCaptureField*>(self);
    switch (message) {
        case WM_GETDLGCODE:
            // Every key but Tab, so that Enter, Esc and the arrows are captured, not acted on.
            if (IsTabKeyDown(lParam)) return 0;
            return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            field.onKeyDown_(static_cast<std::uint16_t>(wParam),
                             KeyModifiers{IsDown(VK_CONTROL), IsDown(VK_MENU), IsDown(VK_SHIFT)});
            return 0;
        case WM_KEYUP:
        case WM_SYSKEYUP:
        case WM_CHAR:
        case WM_SYSCHAR:
        case WM_DEADCHAR:
        case WM_SYSDEADCHAR:
        case WM_PASTE:
        case WM_CUT:
        case WM_CLEAR:
        case WM_UNDO:
        case WM_CONTEXTMENU:
            return 0;
        case WM_NCDESTROY:
            DetachSubclass(edit, Subclass, kSubclassId);
            break;
        default: break;
    }
    return CallNextSubclass(edit, message, wParam, lParam);
}

}  // namespace quorvel
