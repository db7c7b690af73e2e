#include "platform/win32/Input_win32.h"

#include <windows.h>

namespace quorvel {

void Win32Input::KeybdEvent(std::uint8_t virtualKey, std::uint32_t flags) {
    keybd_event(virtualKey, 0, flags, 0);
}

void Win32Input::MouseEvent(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::int32_t data) {
    // The wheel delta is signed but travels as a DWORD.
    mouse_event(flags, static_cast<DWORD>(dx), static_cast<DWORD>(dy), static_cast<DWORD>(data), 0);
}

Point Win32Input::GetCursorPos() {
    POINT position{};
    ::GetCursorPos(&position);
    return {position.x, position.y};
}

void Win32Input::SetCursorPos(Point position) {
    ::SetCursorPos(position.x, position.y);
}

void Win32Input::PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        // The quit request belongs to the main message loop: put it back and stop here.
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace quorvel
