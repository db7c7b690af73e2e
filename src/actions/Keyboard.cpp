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

// Every event carries the extended-key flag, ordinary keys included.
constexpr std::uint32_t kPressFlags = kKeyEventExtendedKey;
constexpr std::uint32_t kReleaseFlags = kKeyEventExtendedKey | kKeyEventKeyUp;

}  // namespace

void SendKeyCodeValue(Input& input, std::uint16_t keyCodeValue) {
    const std::uint16_t keyPart = keyCodeValue & kKeyPartMask;
    // keybd_event takes 8 bits; the program never makes key parts above 0xFF.
    const auto virtualKey = static_cast<std::uint8_t>(keyPart & 0xFF);

    // The message loop runs between the groups so the events reach the system in separate
    // batches: the target sees the modifiers down before the key, and the key up before them.
    for (const Modifier& modifier : kPressOrder) {
        if (keyCodeValue & modifier.bit) {
            input.KeybdEvent(modifier.virtualKey, kPressFlags);
        }
    }
    input.PumpMessages();
    if (keyPart != 0) {
        input.KeybdEvent(virtualKey, kPressFlags);
    }
    input.PumpMessages();
    if (keyPart != 0) {
        input.KeybdEvent(virtualKey, kReleaseFlags);
    }
    input.PumpMessages();
    for (const Modifier& modifier : kReleaseOrder) {
        if (keyCodeValue & modifier.bit) {
            input.KeybdEvent(modifier.virtualKey, kReleaseFlags);
        }
    }
    input.PumpMessages();
}

}  // namespace quorvel
