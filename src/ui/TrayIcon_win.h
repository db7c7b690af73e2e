#pragma once

#include <windows.h>

#include <shellapi.h>

#include <optional>
#include <string>

#include "ui/ControlIds.h"
#include "platform/Log.h"
#include "platform/TrayIcon.h"

namespace quorvel {

// The notification-area icon of the main window (Shell_NotifyIcon).
class Win32TrayIcon final : public TrayIcon {
public:
    // Mouse events on the icon arrive at the window as this message.
    static constexpr UINT kCallbackMessage = QUORVEL_TRAY_CALLBACK_MESSAGE;
    static_assert(kCallbackMessage == WM_APP + 2);
    // Posted to the window when the picture changed; the window then calls ApplyPicture.
    static constexpr UINT kApplyPictureMessage = WM_APP + 3;

    Win32TrayIcon(HWND window, HINSTANCE instance, Log& log) : window_(window), instance_(instance), log_(log) {}
    ~Win32TrayIcon() override { Hide(); }
    Win32TrayIcon(const Win32TrayIcon&) = delete;
    Win32TrayIcon& operator=(const Win32TrayIcon&) = delete;

    void Show() override;
    void Hide();
    // Explorer started anew (the registered "TaskbarCreated" message): its tray has forgotten us.
    void OnTaskbarCreated();

    void SetPicture(int index) override;
    void ApplyPicture();
    void ShowBalloon(const std::string& title, const std::string& text) override;

private:
    struct Balloon {
        std::string title;
        std::string text;
    };
    NOTIFYICONDATAA Data(UINT flags) const;
    HICON Picture(int index) const;
    bool Add();
    void Send(const Balloon& balloon);

    HWND window_;
    HINSTANCE instance_;
    Log& log_;
    bool wanted_ = false;
    bool shown_ = false;
    int picture_ = 0;
    bool picturePending_ = false;
    // A balloon raised before the icon could show it, such as the cards found at start.
    std::optional<Balloon> pendingBalloon_;
};

}  // namespace quorvel
