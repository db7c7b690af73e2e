#pragma once

#include <string>

namespace quorvel {

// Pictures of the tray image list, by their index there.
enum class TrayPicture : int { Starting = 0, Held = 1, Idle = 2, ClientEvent = 3 };

// The notification-area icon. No call waits for the shell.
class TrayIcon {
public:
    virtual ~TrayIcon() = default;
    virtual void Show() = 0;
    virtual void SetPicture(TrayPicture picture) = 0;
    // An information balloon shown for 10 seconds; it replaces one still shown.
    virtual void ShowBalloon(const std::string& title, const std::string& text) = 0;
    // The icon goes for good: the shell is asked at once, and later wishes are dropped.
    virtual void Remove() = 0;
};

}  // namespace quorvel
