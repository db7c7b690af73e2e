#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/WindowSystem.h"

namespace quorvel {

struct SentMessage {
    WindowHandle window;
    std::uint32_t message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
    bool posted;
    friend bool operator==(const SentMessage&, const SentMessage&) = default;
};

// A desktop of windows known by class and title. Messages to them are recorded.
class FakeWindowSystem final : public WindowSystem {
public:
    struct Window {
        std::string className;
        std::string title;
        bool visible = true;
        bool ownForm = false;
    };

    WindowHandle foreground = kNoWindow;
    std::vector<SentMessage> messages;

    WindowHandle AddWindow(Window window) {
        const WindowHandle handle{next_++};
        windows_[handle] = std::move(window);
        return handle;
    }
    void RemoveWindow(WindowHandle window) { windows_.erase(window); }
    Window& At(WindowHandle window) { return windows_.at(window); }

    WindowHandle GetForegroundWindow() override { return foreground; }
    WindowHandle FindWindowByName(const std::string& className, const std::string& title) override {
        for (const auto& [handle, window] : windows_) {
            if (window.className == className && window.title == title) return handle;
        }
        return kNoWindow;
    }
    bool IsWindow(WindowHandle window) override { return windows_.count(window) != 0; }
    bool IsWindowVisible(WindowHandle window) override { return IsWindow(window) && windows_[window].visible; }
    bool SendWindowMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                           std::intptr_t lParam) override {
        messages.push_back({window, message, wParam, lParam, false});
        return IsWindow(window);
    }
    bool PostWindowMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                     std::intptr_t lParam) override {
        messages.push_back({window, message, wParam, lParam, true});
        return IsWindow(window);
    }
    bool IsOwnForm(WindowHandle window) override { return IsWindow(window) && windows_[window].ownForm; }

private:
    std::uintptr_t next_ = 0x100;
    std::map<WindowHandle, Window> windows_;
};

}  // namespace quorvel
