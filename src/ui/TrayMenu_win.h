#pragma once

#include <windows.h>

#include <array>
#include <optional>

#include "ui/TrayMenu.h"

namespace quorvel {

// The tray icon's popup menu. Each item draws the picture of the menu image list it has been
// given (owner-drawn bitmaps, so the pictures keep their alpha on every Windows).
class Win32TrayMenu final : public TrayMenu {
public:
    explicit Win32TrayMenu(HINSTANCE instance);
    ~Win32TrayMenu() override;
    Win32TrayMenu(const Win32TrayMenu&) = delete;
    Win32TrayMenu& operator=(const Win32TrayMenu&) = delete;

    void SetItemImage(TrayMenuItem item, int imageIndex) override;

    // Shows the menu at the cursor for the window; the item chosen, nothing when dismissed.
    std::optional<TrayMenuItem> Track(HWND owner);
    // The menu's WM_MEASUREITEM and WM_DRAWITEM; false for other controls' messages.
    bool Measure(MEASUREITEMSTRUCT& item) const;
    bool Draw(const DRAWITEMSTRUCT& item) const;

    static std::optional<TrayMenuItem> ItemOfCommand(int commandId);

private:
    static constexpr int kImageCount = 11;
    int ImageSize() const;

    HINSTANCE instance_;
    HMENU menu_;
    std::array<int, 7> itemImages_{};
    std::array<HICON, kImageCount> images_{};
};

}  // namespace quorvel
