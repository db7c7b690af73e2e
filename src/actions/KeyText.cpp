#include "actions/KeyText.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "actions/KeyCodeValue.h"
#include "core/Text.h"

namespace quorvel {
namespace {

struct NamedKey {
    std::uint16_t virtualKey;
    std::string_view name;
};

// Sorted by virtual key. The digit and letter keys are named by their own character.
constexpr std::array<NamedKey, 74> kNamedKeys{{
    {0x08, "Backspace"},
    {0x09, "Tab"},
    {0x0D, "Enter"},
    {0x13, "Pause"},
    {0x14, "Caps Lock"},
    {0x1B, "Esc"},
    {0x20, "Spacebar"},
    {0x21, "Page Up"},
    {0x22, "Page Down"},
    {0x23, "End"},
    {0x24, "Home"},
    {0x25, "Left Arrow"},
    {0x26, "Up Arrow"},
    {0x27, "Right Arrow"},
    {0x28, "Down Arrow"},
    {0x2C, "Print Screen"},
    {0x2D, "Insert"},
    {0x2E, "Delete"},
    {0x60, "Num 0"},
    {0x61, "Num 1"},
    {0x62, "Num 2"},
    {0x63, "Num 3"},
    {0x64, "Num 4"},
    {0x65, "Num 5"},
    {0x66, "Num 6"},
    {0x67, "Num 7"},
    {0x68, "Num 8"},
    {0x69, "Num 9"},
    {0x6A, "Num *"},
    {0x6B, "Num +"},
    {0x6D, "Num -"},
    {0x6E, "Num ."},
    {0x6F, "Num /"},
    {0x70, "F1"},
    {0x71, "F2"},
    {0x72, "F3"},
    {0x73, "F4"},
    {0x74, "F5"},
    {0x75, "F6"},
    {0x76, "F7"},
    {0x77, "F8"},
    {0x78, "F9"},
    {0x79, "F10"},
    {0x7A, "F11"},
    {0x7B, "F12"},
    {0x90, "Num Lock"},
    {0x91, "Scroll Lock"},
    {0xA6, "Browser Back"},
    {0xA7, "Browser Forward"},
    {0xA8, "Browser Refresh"},
    {0xA9, "Browser Stop"},
    {0xAA, "Browser Search"},
    {0xAB, "Browser Favorites"},
    {0xAC, "Browser Home"},
    {0xAD, "Volume Mute"},
    {0xAE, "Volume Down"},
    {0xAF, "Volume Up"},
    {0xB0, "Next Track"},
    {0xB1, "Previous Track"},
    {0xB2, "Stop Media"},
    {0xB3, "Play/Pause Media"},
    {0xB4, "Start Mail"},
    {0xB5, "Select Media"},
    {0xBA, ";"},
    {0xBB, "="},
    {0xBC, ","},
    {0xBD, "-"},
    {0xBE, "."},
    {0xBF, "/"},
    {0xC0, "`"},
    {0xDB, "["},
    {0xDC, "\\"},
    {0xDD, "]"},
    {0xDE, "'"},
}};
static_assert(std::ranges::is_sorted(kNamedKeys, {}, &NamedKey::virtualKey));

constexpr std::uint16_t kFirstCharacterKey = 0x30;
constexpr std::uint16_t kLastCharacterKey = 0x5A;

struct ModifierName {
    std::uint16_t bit;
    std::string_view name;
};
constexpr std::array<ModifierName, 4> kModifierNames{
    {{kKeyCodeCtrl, "Ctrl"}, {kKeyCodeAlt, "Alt"}, {kKeyCodeShift, "Shift"}, {kKeyCodeWin, "Win"}}};

std::optional<std::uint16_t> ParseKeyName(std::string_view name) {
    if (name.size() == 1) {
        const auto upper = static_cast<std::uint16_t>(AsciiUpperCase(name)[0]);
        if (upper >= kFirstCharacterKey && upper <= kLastCharacterKey) return upper;
    }
    for (const NamedKey& key : kNamedKeys) {
        if (EqualsIgnoringCase(key.name, name)) return key.virtualKey;
    }
    return std::nullopt;
}

void AppendPart(std::string& text, std::string_view part) {
    if (!text.empty()) {
        text += '+';
    }
    text += part;
}

}  // namespace

std::string KeyName(std::uint16_t keyPart) {
    if (keyPart >= kFirstCharacterKey && keyPart <= kLastCharacterKey) {
        return std::string(1, static_cast<char>(keyPart));
    }
    const auto found = std::ranges::lower_bound(kNamedKeys, keyPart, {}, &NamedKey::virtualKey);
    if (found != kNamedKeys.end() && found->virtualKey == keyPart) {
        return std::string(found->name);
    }
    return {};
}

std::string KeyText(std::uint16_t keyCodeValue) {
    if (keyCodeValue == 0) {
        return "None";
    }
    std::string text;
    if (keyCodeValue & kKeyCodeCtrl) {
        AppendPart(text, "Ctrl");
    }
    if (keyCodeValue & kKeyCodeAlt) {
        AppendPart(text, "Alt");
    }
    if (keyCodeValue & kKeyCodeShift) {
        AppendPart(text, "Shift");
    }
    const std::string name = KeyName(keyCodeValue & kKeyPartMask);
    if (!name.empty()) {
        AppendPart(text, name);
    }
    return text;
}

std::optional<std::uint16_t> ParseKeyText(std::string_view text) {
    std::uint16_t modifiers = 0;
    // Each modifier is peeled off the front with its "+", so that "Num +" stays a key name.
    for (bool peeled = true; peeled;) {
        peeled = false;
        for (const ModifierName& modifier : kModifierNames) {
            const std::size_t length = modifier.name.size();
            if (text.size() > length + 1 && text[length] == '+' &&
                EqualsIgnoringCase(text.substr(0, length), modifier.name)) {
                modifiers |= modifier.bit;
                text.remove_prefix(length + 1);
                peeled = true;
            }
        }
    }
    for (const ModifierName& modifier : kModifierNames) {
        if (EqualsIgnoringCase(text, modifier.name)) return static_cast<std::uint16_t>(modifiers | modifier.bit);
    }
    const auto key = ParseKeyName(text);
    if (!key) return std::nullopt;
    return static_cast<std::uint16_t>(modifiers | *key);
}

}  // namespace quorvel
