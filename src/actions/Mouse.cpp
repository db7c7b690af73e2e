#include "actions/Mouse.h"

#include <algorithm>
#include <limits>

namespace quorvel {
namespace {

// Only overflow is guarded here: keeping the pointer on the screen is the system's job.
std::int32_t Offset(std::int32_t coordinate, std::int64_t delta) {
    const std::int64_t moved = coordinate + delta;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(moved, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

void Click(Input& input, std::uint32_t downFlag, std::uint32_t upFlag) {
    input.MouseEvent(downFlag, kClickCoordinate, kClickCoordinate, 0);
    input.MouseEvent(upFlag, kClickCoordinate, kClickCoordinate, 0);
}

}  // namespace

const std::vector<std::string>& MouseActionNames() {
    static const std::vector<std::string> names{
        "None",        "Move Left",   "Move Right",    "Move Up",  "Move Down",  "Click Left",
        "Click Right", "Click Middle", "DblClick Left", "Wheel Up", "Wheel Down",
    };
    return names;
}

void PerformMouseAction(Input& input, std::uint8_t action, std::uint32_t step) {
    const Point position = input.GetCursorPos();
    const std::int64_t distance = step;
    switch (static_cast<MouseAction>(action)) {
        case MouseAction::MoveLeft:
            input.SetCursorPos({Offset(position.x, -distance), position.y});
            break;
        case MouseAction::MoveRight:
            input.SetCursorPos({Offset(position.x, distance), position.y});
            break;
        case MouseAction::MoveUp:
            input.SetCursorPos({position.x, Offset(position.y, -distance)});
            break;
        case MouseAction::MoveDown:
            input.SetCursorPos({position.x, Offset(position.y, distance)});
            break;
        case MouseAction::ClickLeft:
            Click(input, kMouseEventLeftDown, kMouseEventLeftUp);
            break;
        case MouseAction::ClickRight:
            Click(input, kMouseEventRightDown, kMouseEventRightUp);
            break;
        case MouseAction::ClickMiddle:
            Click(input, kMouseEventMiddleDown, kMouseEventMiddleUp);
            break;
        case MouseAction::DoubleClickLeft:
            // Back to back, so the system's double-click detection sees one double click.
            Click(input, kMouseEventLeftDown, kMouseEventLeftUp);
            Click(input, kMouseEventLeftDown, kMouseEventLeftUp);
            break;
        case MouseAction::WheelUp:
            input.MouseEvent(kMouseEventWheel, 0, 0, kWheelDelta);
            break;
        case MouseAction::WheelDown:
            input.MouseEvent(kMouseEventWheel, 0, 0, -kWheelDelta);
            break;
        case MouseAction::None:
            break;
    }
}

}  // namespace quorvel
