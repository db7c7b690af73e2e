#pragma once

#include <cstdint>

#include "platform/Input.h"

namespace quorvel {

// keybd_event flags.
constexpr std::uint32_t kKeyEventExtendedKey = 0x1;
constexpr std::uint32_t kKeyEventKeyUp = 0x2;

// Virtual keys of the modifiers a key code value can carry.
constexpr std::uint8_t kVkShift = 0x10;
constexpr std::uint8_t kVkControl = 0x11;
constexpr std::uint8_t kVkMenu = 0x12;
constexpr std::uint8_t kVkLeftWin = 0x5B;

// One complete keystroke: modifiers down, key down, key up, modifiers up.
void SendKeyCodeValue(Input& input, std::uint16_t keyCodeValue);

}  // namespace quorvel
