#pragma once

#include <windows.h>

namespace quorvel {

// One window object per window: the object passed as the creation parameter receives the
// window's messages in Derived::HandleMessage, from WM_NCCREATE until the window is gone.
template <typename Derived>
class BaseWindow {
public:
    BaseWindow(const BaseWindow&) = delete;
    BaseWindow& operator=(const BaseWindow&) = delete;

    HWND Handle() const { return window_; }

protected:
    BaseWindow() = default;
    // A late message must not reach an object that no longer exists.
    ~BaseWindow() {
        if (window_) SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    }

    // The window procedure of the window's class.
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            auto* created = static_cast<Derived*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
            created->window_ = window;
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
        }
        auto* self = reinterpret_cast<Derived*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message == WM_NCDESTROY && self) {
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            self->window_ = nullptr;
            self = nullptr;
        }
        return self ? self->HandleMessage(message, wParam, lParam) : DefWindowProcA(window, message, wParam, lParam);
    }

    HWND window_ = nullptr;
};

}  // namespace quorvel
