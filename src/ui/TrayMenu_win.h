#pragma once

#include <windows.h>

#include <array>
#include <optional>

#include "ResourceIds.h"
#include "model/Model.h"
#include "platform/win32/Win32Handles.h"
#include "ui/TrayMenu.h"

namespace quorvel {

// The tray icon's popup menu. Each item draws the picture of the menu image list it has been
// given (owner-drawn bitmaps, so the pictures keep their alpha on every Windows).
class Win32TrayMenu final {
public:
    explicit Win32TrayMenu(HINSTANCE instance);

    // The mode items show which mode is selected.
    void ShowSelectedMode(EmulationMode selected);

    // Shows the menu at the cursor for the window; the item chosen, nothing when dismissed.
    std::optional<TrayMenuItem> Track(HWND owner);
    // The menu's WM_MEASUREITEM and WM_DRAWITEM; false for other controls' messages.
    bool Measure(MEASUREITEMSTRUCT& item) const;
    bool Draw(const DRAWITEMSTRUCT& item) const;

    static std::optional<TrayMenuItem> ItemOfCommand(int commandId);

private:
    static constexpr int kImageCount = IDI_MENU_TIMING - IDI_MENU_FIRST + 1;
    int ImageSize() const;

    HINSTANCE instance_;
    UniqueMenu menu_;
    std::array<int, 8> itemImages_{};
    std::array<UniqueIcon, kImageCount> images_;
};

}  // namespace quorvel
