#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/WindowSystem.h"

namespace quorvel {

constexpr std::uint32_t kWmAppCommand = 0x0319;

// The items of NameMessageCB, "None" first; an item's index is its application-command number.
const std::vector<std::string>& AppCommandNames();

// WM_APPCOMMAND to the foreground window, the command in the high word of lParam.
void SendAppCommand(WindowSystem& windows, std::uint8_t number);

}  // namespace quorvel
