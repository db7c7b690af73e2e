#include "engine/PressRule.h"

#include <algorithm>

namespace quorvel {
namespace {

// The repeat number counts every second tick from here; outputs repeat from the tick after.
constexpr std::uint32_t kFirstRepeatHold = 8;
constexpr std::uint32_t kMaxRepeatNumber = 255;

}  // namespace

PressStep ClassifyPress(const PressFacts& facts) {
    PressStep step;
    step.holdCount = facts.continues ? facts.previousHoldCount + 1 : 0;
    step.newPress = facts.active && step.holdCount == 0;
    if (step.holdCount >= kFirstRepeatHold) {
        step.repeatNumber = static_cast<std::uint8_t>(
            std::min((step.holdCount - kFirstRepeatHold) / 2 + 1, kMaxRepeatNumber));
    }
    const bool repeats = facts.active && facts.repeatAllowed && step.holdCount > kFirstRepeatHold;
    step.outputDue = step.newPress || repeats;
    // Repeat lines go out every second tick from hold count 10, so none carries 01.
    step.lineDue = step.newPress || (repeats && (step.holdCount - kFirstRepeatHold) % 2 == 0);
    return step;
}

}  // namespace quorvel
