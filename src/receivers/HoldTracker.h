#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "receivers/BroadcastLine.h"

namespace quorvel {

// A button as a network server reports it: its extended code and the server's name for it.
struct HeldButton {
    std::uint32_t extendedCode = 0;
    std::string name;
    friend bool operator==(const HeldButton&, const HeldButton&) = default;
};

// Turns a server's button events into what the 50 ms tick sees: a line with repeat count 0
// starts a press; lines with a higher count for the button held keep it held; the button is
// released when no line for it came within kHoldTime, or when the connection ends. Each press
// shows for at least one tick, and the tick sees a tick without a button between two presses
// of the same button. Times are milliseconds on any steady clock; not thread-safe.
class HoldTracker {
public:
    using Millis = std::chrono::milliseconds;
    // IR remotes repeat about every 110 ms while a button is held; this covers one late frame.
    static constexpr Millis kHoldTime{200};
    // Presses the tick has not seen yet are kept up to this many; a flood beyond is dropped.
    static constexpr std::size_t kMaxWaiting = 8;

    void OnEvent(const BroadcastLine& event, Millis now);
    // The connection ended: what is held is released; presses not yet seen still show.
    void EndHold() { holding_ = false; }
    // The button the tick sees now, if any.
    std::optional<HeldButton> Sample(Millis now);

private:
    bool LatestHeld(Millis now) const { return holding_ && now - lastEvent_ <= kHoldTime; }

    std::deque<HeldButton> waiting_;   // presses the tick has not seen yet, oldest first
    std::optional<HeldButton> shown_;  // the press the tick sees
    bool holding_ = false;             // the latest press has not been released
    Millis lastEvent_{0};              // the latest line of the latest press
};

}  // namespace quorvel
