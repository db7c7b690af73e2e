#include "engine/PressRule.h"

#include <algorithm>

#include "model/Model.h"

namespace quorvel {
namespace {

// The repeat number counts every second tick from here. WinLIRC lines repeat on its even ticks
// from the one after, whatever the pace: clients do their own.
constexpr std::uint32_t kFirstRepeatHold = 8;
constexpr std::uint32_t kMaxRepeatNumber = 255;
// A mouse move's step is 9 at the first repeat and grows by one with each, up to this.
constexpr std::uint32_t kMaxMouseStep = 20;
constexpr std::uint32_t kTicksPerSecond = 1000 / kTickMs;
constexpr std::uint32_t kMaxSinceEnd = 0xFFFF;


// The interval after a repeat: it halves (rounded up) with every whole second since the first
// repeat, down to the fastest.
std::uint32_t IntervalAfter(const TickPace& pace, std::uint32_t sinceFirstRepeat) {
    const std::uint32_t halvings = std::min<std::uint32_t>(sinceFirstRepeat / kTicksPerSecond, 31);
    const std::uint32_t halved = (pace.interval + (1u << halvings) - 1) >> halvings;
    return std::max({halved, pace.fastest, 1u});
}

const GestureFacts& FactsOf(const PressFacts& facts, Gesture gesture) {
    return gesture == Gesture::Long ? facts.longPress : gesture == Gesture::Double ? facts.doublePress : facts.press;
}

// What becomes of a press whose outputs wait, once it is no longer held.
void SettleWaiting(const PressFacts& facts, PressStep& step) {
    const PressProgress& before = facts.before;
    PressProgress& after = step.after;
    if (before.waiting == Waiting::None || BeginsDoublePress(facts)) return;
    if (before.waiting == Waiting::Tap && !facts.active) {
        after.waiting = Waiting::SecondPress;
        return;
    }
    // A different button, a release without a double press, or no second press in time.
    const bool waitsOn = before.waiting == Waiting::SecondPress && !facts.active && after.sinceEnd < facts.doubleTicks;
    if (waitsOn) return;
    after.waiting = Waiting::None;
    step.releaseDue = true;
}

void Begin(const PressFacts& facts, PressStep& step) {
    PressProgress& after = step.after;
    after = {true, 0, Gesture::Press, Waiting::None, false, 0, 0, 0, after.sinceEnd, after.lastTap, false};
    after.quickSecond = facts.sameAsEnded && after.lastTap && facts.before.sinceEnd < facts.doubleTicks;
    if (BeginsDoublePress(facts)) {
        after.gesture = Gesture::Double;
        after.acting = true;
    } else if (facts.longPress.defined || facts.doublePress.defined) {
        // The button's own outputs wait: for its release, or for a second press that does not come.
        after.waiting = facts.doublePress.defined ? Waiting::Tap : Waiting::Release;
    } else {
        after.acting = true;
    }
    if (after.acting) step.outputDue = step.firstOutput = true;
    after.nextRepeat = FactsOf(facts, after.gesture).pace.delay;
}

// A held press that waits turns into its long press, or, having a double press only, into a
// repeating press once its first repeat is due: then it is no tap.
void Turn(const PressFacts& facts, PressStep& step) {
    PressProgress& after = step.after;
    if (facts.longPress.defined && after.holdCount >= facts.longHoldCount) {
        after.gesture = Gesture::Long;
        after.acting = true;
        after.outputStart = after.holdCount;
        after.nextRepeat = facts.longPress.pace.delay;
        after.waiting = Waiting::None;
        step.outputDue = step.firstOutput = true;
    } else if (!facts.longPress.defined && facts.press.repeatAllowed && after.holdCount >= facts.press.pace.delay) {
        after.acting = true;
        after.waiting = Waiting::None;
        step.firstOutput = true;
    }
}

void Repeat(const PressFacts& facts, PressStep& step) {
    PressProgress& after = step.after;
    const GestureFacts& gesture = FactsOf(facts, after.gesture);
    const std::uint32_t held = after.holdCount - after.outputStart;
    if (!gesture.repeatAllowed || held != after.nextRepeat) return;
    step.outputDue = true;
    ++after.repeats;
    after.nextRepeat = held + IntervalAfter(gesture.pace, held - gesture.pace.delay);
    if (!step.firstOutput) step.mouseStep = std::min(kFirstRepeatHold + after.repeats, kMaxMouseStep);
}

}  // namespace

TickPace InTicks(const Pace& pace) {
    const auto ticks = [](std::uint32_t ms) { return std::max<std::uint32_t>(TickCount(ms), 1); };
    return {ticks(pace.delay), ticks(pace.interval), ticks(pace.fastest)};
}

PressStep ClassifyPress(const PressFacts& facts) {
    PressStep step;
    const PressProgress& before = facts.before;
    PressProgress& after = step.after;
    after = before;
    after.held = facts.active;
    if (!facts.continues) {
        after.sinceEnd = before.held ? 0 : std::min(before.sinceEnd + 1, kMaxSinceEnd);
        if (before.held) after.lastTap = before.gesture == Gesture::Press && before.holdCount < facts.longHoldCount;
        SettleWaiting(facts, step);
    }
    if (!facts.active) {
        after.holdCount = 0;
        after.acting = false;
        return step;
    }
    step.newPress = !facts.continues;
    if (step.newPress) {
        const bool releaseDue = step.releaseDue;
        Begin(facts, step);
        step.releaseDue = releaseDue;
    } else {
        after.holdCount = before.holdCount + 1;
        if (after.waiting == Waiting::Release || after.waiting == Waiting::Tap) Turn(facts, step);
        if (after.acting) Repeat(facts, step);
    }
    step.gesture = after.gesture;
    const std::uint32_t hold = after.holdCount;
    if (hold >= kFirstRepeatHold) {
        step.repeatNumber = static_cast<std::uint8_t>(std::min((hold - kFirstRepeatHold) / 2 + 1, kMaxRepeatNumber));
    }
    const bool lineRepeats = facts.press.repeatAllowed && hold > kFirstRepeatHold && (hold - kFirstRepeatHold) % 2 == 0;
    step.lineDue = step.newPress || lineRepeats;
    step.longHeld = after.gesture != Gesture::Double && hold >= facts.longHoldCount;
    return step;
}

}  // namespace quorvel
