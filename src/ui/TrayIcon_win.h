#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>

#include "ui/TrayIcon.h"

namespace quorvel {

// The notification-area icon of the main window (Shell_NotifyIcon).
class Win32TrayIcon final : public TrayIcon {
public:
    // Clicks on the icon arrive at the window as this message.
    static constexpr UINT kCallbackMessage = WM_APP + 2;

    Win32TrayIcon(HWND window, HINSTANCE instance) : window_(window), instance_(instance) {}
    ~Win32TrayIcon() override { Hide(); }
    Win32TrayIcon(const Win32TrayIcon&) = delete;
    Win32TrayIcon& operator=(const Win32TrayIcon&) = delete;

    void Show() override;
    void Hide();

    void SetPicture(int index) override;
    void ShowBalloon(const std::string& title, const std::string& text) override;

private:
    NOTIFYICONDATAA Data(UINT flags) const;
    HICON Picture(int index) const;

    HWND window_;
    HINSTANCE instance_;
    bool shown_ = false;
    int picture_ = 0;
};

}  // namespace quorvel
