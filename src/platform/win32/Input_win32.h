#pragma once

#include "platform/Input.h"
#include "platform/Log.h"

namespace quorvel {

class Win32Input final : public Input {
public:
    explicit Win32Input(Log& log) : log_(log) {}
    void KeybdEvent(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags) override;
    std::uint8_t ScanCode(std::uint8_t virtualKey) override;
    void TypeUnit(char16_t unit, bool release) override;
    void MouseEvent(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::int32_t data) override;
    Point GetCursorPos() override;
    void SetCursorPos(Point position) override;
    void PumpMessages() override;

private:
    Log& log_;
};

}  // namespace quorvel
