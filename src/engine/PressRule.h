#pragma once

#include <cstdint>

namespace quorvel {

// What the tick knows about the button it read, for the press and repeat rule.
struct PressFacts {
    bool active = false;                  // a button is reported in this tick
    bool continues = false;               // it is the button of the previous tick, which had one
    std::uint32_t previousHoldCount = 0;  // the hold count of the previous tick
    bool repeatAllowed = false;           // Autorepeat and the button's Repeat flag are on
};

// What the rule makes of one tick.
struct PressStep {
    std::uint32_t holdCount = 0;
    bool newPress = false;
    bool outputDue = false;  // the emulation outputs run
    bool lineDue = false;    // the WinLIRC line goes out with them
    std::uint8_t repeatNumber = 0;
};

PressStep ClassifyPress(const PressFacts& facts);

}  // namespace quorvel
