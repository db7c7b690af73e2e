#pragma once

#include <cstdint>

namespace quorvel {

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// Synthesised keyboard and mouse input (keybd_event, mouse_event, the cursor).
class Input {
public:
    virtual ~Input() = default;
    virtual void KeybdEvent(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags) = 0;
    // The key's scan code in the keyboard layout, 0 when it has none.
    virtual std::uint8_t ScanCode(std::uint8_t virtualKey) = 0;
    // One UTF-16 unit arrives as a character, whatever the keyboard layout.
    virtual void TypeUnit(char16_t unit, bool release) = 0;
    virtual void MouseEvent(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::int32_t data) = 0;
    virtual Point GetCursorPos() = 0;
    virtual void SetCursorPos(Point position) = 0;
    // Lets the main thread's pending window messages run once.
    virtual void PumpMessages() = 0;
};

}  // namespace quorvel
