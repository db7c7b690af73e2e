#pragma once

#include "platform/Input.h"

namespace quorvel {

class Win32Input final : public Input {
public:
    void KeybdEvent(std::uint8_t virtualKey, std::uint32_t flags) override;
    void MouseEvent(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::int32_t data) override;
    Point GetCursorPos() override;
    void SetCursorPos(Point position) override;
    void PumpMessages() override;
};

}  // namespace quorvel
