#include "actions/Keyboard.h"

#include <array>

#include "actions/KeyCodeValue.h"

namespace quorvel {
namespace {

struct Modifier {
    std::uint16_t bit;
    std::uint8_t virtualKey;
};

constexpr Modifier kWin{kKeyCodeWin, kVkLeftWin};
constexpr Modifier kCtrl{kKeyCodeCtrl, kVkControl};
constexpr Modifier kAlt{kKeyCodeAlt, kVkMenu};
constexpr Modifier kShift{kKeyCodeShift, kVkShift};

// Win goes down first and comes up last, so the other modifiers are released while it is
// still held.
constexpr std::array<Modifier, 4> kPressOrder{kWin, kCtrl, kAlt, kShift};
constexpr std::array<Modifier, 4> kReleaseOrder{kCtrl, kAlt, kShift, kWin};

// The keys whose scan code comes with the extended-key prefix: the navigation block, the
// arrows, Print Screen, the Windows and menu keys, Num / and Num Lock, and the browser, media
// and launch keys.
bool IsExtendedKey(std::uint8_t virtualKey) {
    return (virtualKey >= 0x21 && virtualKey <= 0x28) || virtualKey == 0x2C || virtualKey == 0x2D ||
           virtualKey == 0x2E || (virtualKey >= 0x5B && virtualKey <= 0x5D) || virtualKey == 0x6F ||
           virtualKey == 0x90 || (virtualKey >= 0xA6 && virtualKey <= 0xB7);
}

void Key(Input& input, std::uint8_t virtualKey, bool release, KeyStyle style) {
    const std::uint32_t up = release ? kKeyEventKeyUp : 0;
    if (style == KeyStyle::Classic) {
        input.KeybdEvent(virtualKey, 0, kKeyEventExtendedKey | up);
        return;
    }
    input.KeybdEvent(virtualKey, input.ScanCode(virtualKey), (IsExtendedKey(virtualKey) ? kKeyEventExtendedKey : 0) | up);
}

// keybd_event takes 8 bits; the program never makes key parts above 0xFF.
std::uint8_t KeyPart(std::uint16_t keyCodeValue) { return static_cast<std::uint8_t>(keyCodeValue & kKeyPartMask & 0xFF); }

}  // namespace

// The message loop runs between the groups so the events reach the system in separate batches:
// the target sees the modifiers down before the key, and the key up before them.
void PressKeyCodeValue(Input& input, std::uint16_t keyCodeValue, KeyStyle style) {
    for (const Modifier& modifier : kPressOrder) {
        if (keyCodeValue & modifier.bit) Key(input, modifier.virtualKey, false, style);
    }
    input.PumpMessages();
    if (KeyPart(keyCodeValue) != 0) Key(input, KeyPart(keyCodeValue), false, style);
    input.PumpMessages();
}

void ReleaseKeyCodeValue(Input& input, std::uint16_t keyCodeValue, KeyStyle style) {
    if (KeyPart(keyCodeValue) != 0) Key(input, KeyPart(keyCodeValue), true, style);
    input.PumpMessages();
    for (const Modifier& modifier : kReleaseOrder) {
        if (keyCodeValue & modifier.bit) Key(input, modifier.virtualKey, true, style);
    }
    input.PumpMessages();
}

void SendKeyCodeValue(Input& input, std::uint16_t keyCodeValue, KeyStyle style) {
    PressKeyCodeValue(input, keyCodeValue, style);
    ReleaseKeyCodeValue(input, keyCodeValue, style);
}

void TypeText(Input& input, std::u16string_view text) {
    for (const char16_t unit : text) {
        input.TypeUnit(unit, false);
        input.TypeUnit(unit, true);
    }
    input.PumpMessages();
}

}  // namespace quorvel
