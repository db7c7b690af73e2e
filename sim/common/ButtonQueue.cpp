#include "ButtonQueue.h"

#include <algorithm>

namespace quorvel::sim {

ButtonQueue::ButtonQueue(Clock queueClock) : clock(queueClock) {}

bool ButtonQueue::Press(SimButton button, std::uint32_t pollCount) {
    return Push({button, pollCount, false, false});
}

bool ButtonQueue::Gap(std::uint32_t pollCount) {
    return Push({std::nullopt, pollCount, false, false});
}

bool ButtonQueue::Hold(SimButton button) {
    return Push({button, 0, true, false});
}

bool ButtonQueue::Release() {
    auto held = std::find_if(items.begin(), items.end(), [](const Item& item) { return item.held; });
    if (held == items.end()) {
        return false;
    }
    // A click shorter than one poll interval still reaches the program once.
    if (held->reported) {
        items.erase(held);
    } else {
        held->held = false;
        held->polls = 1;
    }
    return true;
}

void ButtonQueue::Reset() {
    items.clear();
    polls = 0;
    current = 0;
    lastPressStart.reset();
}

std::optional<SimButton> ButtonQueue::Peek() const {
    if (items.empty()) {
        return std::nullopt;
    }
    return items.front().button;
}

std::optional<SimButton> ButtonQueue::Poll() {
    ++polls;
    if (items.empty()) {
        current = 0;
        return std::nullopt;
    }
    Item& head = items.front();
    const std::optional<SimButton> reported = head.button;
    if (reported && !head.reported) {
        lastPressStart = PressStart{polls, reported->extCode, head.queuedAt, clock()};
    }
    head.reported = true;
    if (!head.held && --head.polls == 0) {
        items.pop_front();
    }
    current = reported ? reported->extCode : 0;
    return reported;
}

QueueStatus ButtonQueue::Status() const {
    return {polls, items.size(), current};
}

std::optional<PressStart> ButtonQueue::LastPressStart() const {
    return lastPressStart;
}

bool ButtonQueue::Push(Item item) {
    if (items.size() >= kMaxItems) {
        return false;
    }
    item.queuedAt = clock();
    items.push_back(item);
    return true;
}

}  // namespace quorvel::sim
