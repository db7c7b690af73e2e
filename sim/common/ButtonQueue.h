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

private:
    struct Item {
        std::optional<SimButton> button;
        std::uint32_t polls = 0;
        bool held = false;
        bool reported = false;
    };

    bool Push(Item item);

    std::deque<Item> items;
    std::uint64_t polls = 0;
    std::uint32_t current = 0;
};

}  // namespace quorvel::sim
