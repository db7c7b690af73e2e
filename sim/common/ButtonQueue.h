#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>

namespace quorvel::sim {

struct SimButton {
    std::uint32_t extCode = 0;
    std::uint32_t rcCode = 0;
};

// The poll that first reported a queued press or hold, with the times (by the queue's clock)
// at which the press was queued and first polled.
struct PressStart {
    std::uint64_t poll = 0;
    std::uint32_t extCode = 0;
    std::uint64_t queuedAt = 0;
    std::uint64_t polledAt = 0;
};

struct QueueStatus {
    std::uint64_t polls = 0;
    std::size_t queued = 0;      // items not yet fully reported, the one in progress included
    std::uint32_t current = 0;   // extended code reported by the latest poll
};

// What the substitute receiver reports, counted in polls rather than time so that a test
// gets exact hold counts however fast or slow the program polls.
class ButtonQueue {
public:
    static constexpr std::size_t kMaxItems = 10000;
    using Clock = std::uint64_t (*)();

    explicit ButtonQueue(Clock clock);

    // Each returns false when the queue is full.
    bool Press(SimButton button, std::uint32_t polls);
    bool Gap(std::uint32_t polls);
    bool Hold(SimButton button);
    // Ends the first hold; false when none is queued.
    bool Release();
    void Reset();

    // What the next poll will report, without counting a poll.
    std::optional<SimButton> Peek() const;
    std::optional<SimButton> Poll();
    QueueStatus Status() const;
    std::optional<PressStart> LastPressStart() const;

private:
    struct Item {
        std::optional<SimButton> button;
        std::uint32_t polls = 0;
        bool held = false;
        bool reported = false;  // polled at least once
        std::uint64_t queuedAt = 0;
    };

    bool Push(Item item);

    Clock clock;
    std::deque<Item> items;
    std::uint64_t polls = 0;
    std::uint32_t current = 0;
    std::optional<PressStart> lastPressStart;
};

}  // namespace quorvel::sim
