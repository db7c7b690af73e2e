#pragma once

#include <cstdint>

namespace quorvel {

// What the tick knows about the button it read, for the press and repeat rule.
struct PressFacts {
    bool active = false;                  // a button is reported in this tick
    bool continues = false;               // it is the button of the previous tick, which had one
    std::uint32_t previousHoldCount = 0;  // the hold count of the previous tick
    bool repeatAllowed = false;           // Autorepeat and the button's Repeat flag are on
    // The press's long press is defined: it fires on this hold count, and repeats when
    // Autorepeat and its own Repeat flag are on.
    bool longDefined = false;
    std::uint32_t longHoldCount = 0;
    bool longRepeatAllowed = false;
    bool shortWaiting = false;  // the previous tick's press waits for its release (its step said so)
};

// What the rule makes of one tick.
struct PressStep {
    std::uint32_t holdCount = 0;
    bool newPress = false;
    bool outputDue = false;  // the outputs of what acts run: the button, or its long press once fired
    bool lineDue = false;    // the WinLIRC line of the button goes out
    std::uint8_t repeatNumber = 0;
    bool firstOutput = false;           // the outputs run for the first time in this press
    std::uint32_t outputHoldCount = 0;  // the hold count counted from the first output
    bool longHeld = false;      // the hold reached the long-press time
    bool longPress = false;     // and the long press, being defined, is what acts
    bool shortWaiting = false;  // the press gives its own outputs at its release
    bool releaseDue = false;    // the press that ended with this tick gives its own outputs now
};

PressStep ClassifyPress(const PressFacts& facts);

}  // namespace quorvel
