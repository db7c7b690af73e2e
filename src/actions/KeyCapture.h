#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

// The modifier keys held at the moment of a key-down.
struct KeyModifiers {
    bool ctrl = false;
    bool alt = false;
    bool shift = false;
};

// What the key capture field shows and keeps: the combination's text and its key code value.
struct CapturedKey {
    std::string text;
    std::uint16_t value = 0;
    friend bool operator==(const CapturedKey&, const CapturedKey&) = default;
};

// The result of a key-down in the field: the held modifiers and the key, when the field takes it.
CapturedKey CaptureKeyDown(std::uint16_t virtualKey, KeyModifiers held);

// The captions of the field's list: keys the keyboard capture does not take.
const std::vector<std::string>& PresetKeyCaptions();
// The list item's key, without modifiers; nothing for an index outside the list.
std::optional<CapturedKey> PresetKey(int index);

}  // namespace quorvel
