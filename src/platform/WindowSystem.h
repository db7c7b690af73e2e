#pragma once

#include <cstdint>
#include <string>

#include "platform/Handles.h"

namespace quorvel {

// Window lookup and messages to other programs' windows.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    virtual WindowHandle GetForegroundWindow() = 0;
    virtual WindowHandle FindWindowByName(const std::string& className, const std::string& title) = 0;
    virtual bool IsWindow(WindowHandle window) = 0;
    virtual bool IsWindowVisible(WindowHandle window) = 0;
    // Waits a short while for the window to take the message, so that a hung program cannot stop
    // the caller; false when it did not answer in time or failed, and the message is dropped.
    virtual bool SendWindowMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                   std::intptr_t lParam) = 0;
    virtual bool PostWindowMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam) = 0;
    // True when the window belongs to this process and is one of its forms (not an OSD window).
    virtual bool IsOwnForm(WindowHandle window) = 0;
};

}  // namespace quorvel
