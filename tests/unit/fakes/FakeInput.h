#pragma once

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <set>
#include <vector>

#include "platform/Input.h"

namespace quorvel {

// One call on the input seam, as the fake saw it.
struct InputCall {
    enum class Kind { Key, Mouse, GetCursor, SetCursor, Pump, Character };

    Kind kind = Kind::Pump;
    std::uint8_t virtualKey = 0;  // a key's; a character's UTF-16 unit in data
    std::uint32_t flags = 0;
    std::int32_t dx = 0;
    std::int32_t dy = 0;
    std::int32_t data = 0;
    Point position;

    static InputCall Key(std::uint8_t virtualKey, std::uint32_t flags, std::uint8_t scanCode = 0) {
        return {Kind::Key, virtualKey, flags, 0, 0, scanCode, {}};
    }
    static InputCall Character(char16_t unit, bool release) {
        return {Kind::Character, 0, release ? 2u : 0u, 0, 0, unit, {}};
    }
    static InputCall Mouse(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::int32_t data) {
        return {Kind::Mouse, 0, flags, dx, dy, data, {}};
    }
    static InputCall GetCursor() { return {Kind::GetCursor, 0, 0, 0, 0, 0, {}}; }
    static InputCall SetCursor(Point position) { return {Kind::SetCursor, 0, 0, 0, 0, 0, position}; }
    static InputCall Pump() { return {Kind::Pump, 0, 0, 0, 0, 0, {}}; }

    friend bool operator==(const InputCall&, const InputCall&) = default;

    friend std::ostream& operator<<(std::ostream& out, const InputCall& call) {
        switch (call.kind) {
            case Kind::Key:
                return out << "Key(0x" << std::hex << int{call.virtualKey} << ", " << std::dec << call.flags << ", "
                           << call.data << ")";
            case Kind::Character:
                return out << "Character(" << call.data << ", " << call.flags << ")";
            case Kind::Mouse:
                return out << "Mouse(0x" << std::hex << call.flags << std::dec << ", " << call.dx << ", " << call.dy
                           << ", " << call.data << ")";
            case Kind::GetCursor:
                return out << "GetCursor";
            case Kind::SetCursor:
                return out << "SetCursor(" << call.position.x << ", " << call.position.y << ")";
            case Kind::Pump:
                return out << "Pump";
        }
        return out;
    }
};

// Records every call in order and simulates what the system would do with it: the pointer
// stays on a screen of the given size, and keys are down from their press to their release.
class FakeInput final : public Input {
public:
    static constexpr std::uint32_t kKeyUpFlag = 0x2;

    explicit FakeInput(Point startCursor = {100, 100}, Point screen = {1024, 768})
        : cursor_(startCursor), screenSize_(screen) {}

    // Scan codes of a US layout's keys: the virtual key plus 0x10, enough to tell them apart.
    std::uint8_t ScanCode(std::uint8_t virtualKey) override { return static_cast<std::uint8_t>(virtualKey + 0x10); }
    void TypeUnit(char16_t unit, bool release) override { calls_.push_back(InputCall::Character(unit, release)); }

    void KeybdEvent(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags) override {
        calls_.push_back(InputCall::Key(virtualKey, flags, scanCode));
        if (flags & kKeyUpFlag) {
            keysDown_.erase(virtualKey);
        } else {
            keysDown_.insert(virtualKey);
        }
    }

    void MouseEvent(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::int32_t data) override {
        calls_.push_back(InputCall::Mouse(flags, dx, dy, data));
    }

    Point GetCursorPos() override {
        calls_.push_back(InputCall::GetCursor());
        return cursor_;
    }

    void SetCursorPos(Point position) override {
        calls_.push_back(InputCall::SetCursor(position));
        cursor_ = {std::clamp(position.x, 0, screenSize_.x - 1), std::clamp(position.y, 0, screenSize_.y - 1)};
    }

    void PumpMessages() override { calls_.push_back(InputCall::Pump()); }

    const std::vector<InputCall>& Calls() const { return calls_; }
    void ClearCalls() { calls_.clear(); }
    Point Cursor() const { return cursor_; }
    bool IsKeyDown(std::uint8_t virtualKey) const { return keysDown_.count(virtualKey) != 0; }
    bool AnyKeyDown() const { return !keysDown_.empty(); }

private:
    std::vector<InputCall> calls_;
    Point cursor_;
    Point screenSize_;
    std::set<std::uint8_t> keysDown_;
};

}  // namespace quorvel
