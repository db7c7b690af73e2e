#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Input.h"

namespace quorvel {

// mouse_event flags.
constexpr std::uint32_t kMouseEventLeftDown = 0x02;
constexpr std::uint32_t kMouseEventLeftUp = 0x04;
constexpr std::uint32_t kMouseEventRightDown = 0x08;
constexpr std::uint32_t kMouseEventRightUp = 0x10;
constexpr std::uint32_t kMouseEventMiddleDown = 0x20;
constexpr std::uint32_t kMouseEventMiddleUp = 0x40;
constexpr std::uint32_t kMouseEventWheel = 0x800;

// One wheel notch.
constexpr std::int32_t kWheelDelta = 120;
// dx and dy of a click; without a move flag they do not move the pointer.
constexpr std::int32_t kClickCoordinate = 0x8000;

// The item index of MsCB, as stored in the "Mouse" section.
enum class MouseAction : std::uint8_t {
    None,
    MoveLeft,
    MoveRight,
    MoveUp,
    MoveDown,
    ClickLeft,
    ClickRight,
    ClickMiddle,
    DoubleClickLeft,
    WheelUp,
    WheelDown,
};

// The items of MsCB, "None" .. "Wheel Down".
const std::vector<std::string>& MouseActionNames();

// Moves use the step in pixels; a value above the last action does nothing.
void PerformMouseAction(Input& input, std::uint8_t action, std::uint32_t step);

}  // namespace quorvel
