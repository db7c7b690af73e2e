#pragma once

namespace quorvel {

// The items of the tray icon's menu, in menu order (the separator left out).
enum class TrayMenuItem { WinLIRCPM, KeysPM, MousePM, WMAPPCOMMANDPM, RestorePM, MinimizePM, ExitPM };

// The tray icon's menu; its items show pictures of the menu image list by index.
class TrayMenu {
public:
    virtual ~TrayMenu() = default;
    virtual void SetItemImage(TrayMenuItem item, int imageIndex) = 0;
};

}  // namespace quorvel
