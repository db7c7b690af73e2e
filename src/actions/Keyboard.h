#pragma once

#include <cstdint>
#include <string_view>

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

// How keystrokes are sent. Classic: every event carries the extended-key flag and no scan code.
// With scan codes (for programs that read them, games among them): each key's scan code, and
// the extended-key flag only on the keys that have one.
enum class KeyStyle : std::uint8_t { Classic, ScanCodes };

// One complete keystroke: modifiers down, key down, key up, modifiers up.
void SendKeyCodeValue(Input& input, std::uint16_t keyCodeValue, KeyStyle style = KeyStyle::Classic);
// Its halves, for a combination held down for a while: modifiers and key down; key and modifiers up.
void PressKeyCodeValue(Input& input, std::uint16_t keyCodeValue, KeyStyle style);
void ReleaseKeyCodeValue(Input& input, std::uint16_t keyCodeValue, KeyStyle style);

// The text arrives as characters, whatever the keyboard layout.
void TypeText(Input& input, std::u16string_view text);

}  // namespace quorvel
