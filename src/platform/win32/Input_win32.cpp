#include "platform/win32/Input_win32.h"

#include <windows.h>

#include "platform/win32/FileLog_win32.h"

namespace quorvel {

void Win32Input::KeybdEvent(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags) {
    keybd_event(virtualKey, scanCode, flags, 0);
}

std::uint8_t Win32Input::ScanCode(std::uint8_t virtualKey) {
    return static_cast<std::uint8_t>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
}

void Win32Input::TypeUnit(char16_t unit, bool release) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = unit;
    input.ki.dwFlags = KEYEVENTF_UNICODE | (release ? KEYEVENTF_KEYUP : 0);
    if (SendInput(1, &input, sizeof input) != 1) log_.Write(LastErrorText("SendInput"));
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
