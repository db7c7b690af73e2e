#pragma once

#include <string>

namespace quorvel {

// The notification-area icon.
class TrayIcon {
public:
    virtual ~TrayIcon() = default;
    virtual void Show() = 0;
    // Picture by index of the tray image list: 0 starting, 1 button held, 2 idle,
    // 3 a WinLIRC client came or went.
    virtual void SetPicture(int index) = 0;
    // An information balloon shown for 10 seconds; it replaces one still shown.
    virtual void ShowBalloon(const std::string& title, const std::string& text) = 0;
};

}  // namespace quorvel
