#pragma once

#include <array>

#include "model/Model.h"
#include "ui/TrayMenu.h"

namespace quorvel {

// Menu image list pictures of the tray menu's fixed items.
constexpr int kRestoreImage = 0;
constexpr int kMinimizeImage = 1;
constexpr int kExitImage = 2;
constexpr int kTimingImage = 11;

// The tray menu's mode items, in the order of their modes.
constexpr std::array<TrayMenuItem, 4> kModeMenuItems = {TrayMenuItem::WinLIRCPM, TrayMenuItem::KeysPM,
                                                        TrayMenuItem::MousePM, TrayMenuItem::WMAPPCOMMANDPM};

// The pictures of the four mode items: each mode has a pair, the first shown while it is the
// selected mode, the second while it is not. With no mode selected every item shows its second.
std::array<int, 4> ModeMenuImages(EmulationMode selected);

}  // namespace quorvel
