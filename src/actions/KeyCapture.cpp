#include "actions/KeyCapture.h"

#include <array>

#include "actions/KeyCodeValue.h"
#include "actions/KeyText.h"

namespace quorvel {
namespace {

constexpr std::uint16_t kBackspace = 0x08;
// Browser and media keys come from the list only: the keyboard rarely delivers them to a field.
constexpr std::uint16_t kFirstMediaKey = 0xA6;
constexpr std::uint16_t kLastMediaKey = 0xB5;

constexpr std::array<std::uint16_t, 18> kPresetKeys = {
    0x09, 0x08, 0xA6, 0xA7, 0xA8, 0xA9, 0xAA, 0xAB, 0xAC,
    0xAD, 0xAE, 0xAF, 0xB0, 0xB1, 0xB2, 0xB3, 0xB4, 0xB5,
};

bool IsCaptured(std::uint16_t virtualKey) {
    if (virtualKey > kKeyPartMask || (virtualKey >= kFirstMediaKey && virtualKey <= kLastMediaKey)) return false;
    return !KeyName(virtualKey).empty();
}

}  // namespace

CapturedKey CaptureKeyDown(std::uint16_t virtualKey, KeyModifiers held) {
    // Backspace clears the field, whatever else is held.
    if (virtualKey == kBackspace) return {KeyText(0), 0};
    std::uint16_t value = 0;
    if (held.ctrl) value |= kKeyCodeCtrl;
    if (held.alt) value |= kKeyCodeAlt;
    if (held.shift) value |= kKeyCodeShift;
    if (IsCaptured(virtualKey)) value |= virtualKey;
    // The same text the stored value gets when it is loaded again.
    return {KeyText(value), value};
}

const std::vector<std::string>& PresetKeyCaptions() {
    static const std::vector<std::string> captions = [] {
        std::vector<std::string> names;
        for (std::uint16_t key : kPresetKeys) names.push_back(KeyName(key));
        return names;
    }();
    return captions;
}

std::optional<CapturedKey> PresetKey(int index) {
    if (index < 0 || index >= static_cast<int>(kPresetKeys.size())) return std::nullopt;
    const std::uint16_t value = kPresetKeys[static_cast<std::size_t>(index)];
    return CapturedKey{KeyText(value), value};
}

}  // namespace quorvel
