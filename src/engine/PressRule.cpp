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
    // Repeat lines go out every second tick from hold count 10, so none carries 01. They follow
    // the button whatever its long press does: WinLIRC clients tell long presses apart themselves.
    step.lineDue = step.newPress || (repeats && (step.holdCount - kFirstRepeatHold) % 2 == 0);
    step.releaseDue = facts.shortWaiting && !facts.continues;
    step.longHeld = facts.active && step.holdCount >= facts.longHoldCount;
    if (!facts.longDefined) {
        step.outputDue = step.newPress || repeats;
        step.firstOutput = step.newPress;
        step.outputHoldCount = step.holdCount;
        return step;
    }
    // Both defined: the button's own outputs wait for its release, so that a held button gives
    // only its long press's, which repeat as a press does, counted from the tick they fired on.
    step.shortWaiting = facts.active && !step.longHeld;
    step.longPress = step.longHeld;
    if (!step.longPress) return step;
    step.outputHoldCount = step.holdCount - facts.longHoldCount;
    step.firstOutput = step.outputHoldCount == 0;
    step.outputDue = step.firstOutput || (facts.longRepeatAllowed && step.outputHoldCount > kFirstRepeatHold);
    return step;
}

}  // namespace quorvel
