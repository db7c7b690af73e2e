#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "actions/KeyCapture.h"

namespace quorvel {

// The key capture field KeyE: a drop-down list whose edit part never takes typing. Every key
// pressed there (system keys included) goes to the key-down handler and is then consumed,
// as are releases, characters and clipboard edits; only Tab is left to move the focus on.
class KeyCaptureField {
public:
    using KeyDownHandler = std::function<void(std::uint16_t virtualKey, KeyModifiers held)>;
    void Attach(HWND combo, KeyDownHandler onKeyDown);

private:
    static LRESULT CALLBACK Subclass(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR self);

    KeyDownHandler onKeyDown_;
};

}  // namespace quorvel
