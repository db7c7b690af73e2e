#pragma once

#include <cstdint>

#include "model/ButtonMap.h"
#include "model/Pace.h"
#include "model/PressProgress.h"

namespace quorvel {

// A pace counted in whole ticks, each figure rounded up.
struct TickPace {
    std::uint32_t delay = 9;
    std::uint32_t interval = 1;
    std::uint32_t fastest = 1;
};
TickPace InTicks(const Pace& pace);

// What one gesture of the press (the button itself, its long or its double press) brings.
struct GestureFacts {
    bool defined = false;        // it gives an output where the press applies (always, for the button)
    bool repeatAllowed = false;  // Autorepeat and its own Repeat flag are on
    TickPace pace;
};

// What the tick knows about the button it read, for the press and repeat rule.
struct PressFacts {
    bool active = false;        // a button is reported in this tick
    bool continues = false;     // it is the button of the previous tick, which had one
    bool sameAsEnded = false;   // it is the button of the press that ended last
    PressProgress before;       // what the previous tick left
    GestureFacts press;         // its repeat flag also decides the WinLIRC repeat lines
    GestureFacts longPress;
    std::uint32_t longHoldCount = 12;
    GestureFacts doublePress;
    std::uint32_t doubleTicks = 8;  // the double-press time in ticks
};

// What the rule makes of one tick.
struct PressStep {
    PressProgress after;
    bool newPress = false;
    bool lineDue = false;  // the WinLIRC line of the button goes out
    std::uint8_t repeatNumber = 0;
    Gesture gesture = Gesture::Press;  // what acts in this tick
    bool outputDue = false;            // its outputs run
    bool firstOutput = false;          // for the first time in this press
    std::uint32_t mouseStep = 1;       // how far a mouse move goes: it grows with the repeats
    bool longHeld = false;             // the hold reached the long-press time
    bool releaseDue = false;           // the press whose outputs waited gives them now
};

// Whether the press that begins in this tick is the second press of a double press.
constexpr bool BeginsDoublePress(const PressFacts& facts) {
    return facts.active && !facts.continues && facts.sameAsEnded && facts.before.waiting == Waiting::SecondPress;
}

PressStep ClassifyPress(const PressFacts& facts);

}  // namespace quorvel
