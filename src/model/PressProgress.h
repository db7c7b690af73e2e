#pragma once

#include <cstdint>

#include "model/ButtonMap.h"

namespace quorvel {

// Why the outputs of a press that ended have not come yet.
enum class Waiting : std::uint8_t {
    None,
    Release,      // they come when the press ends: it has a long press only
    Tap,          // they come when no second press follows in time: it has a double press
    SecondPress,  // the press ended; a second press of it in time is its double press
};

// What a press carries from tick to tick.
struct PressProgress {
    bool held = false;  // the tick had a button
    std::uint32_t holdCount = 0;
    Gesture gesture = Gesture::Press;  // what the press turned out to be
    Waiting waiting = Waiting::None;
    bool acting = false;                // the gesture's outputs have begun
    std::uint32_t outputStart = 0;      // the hold count they began on
    std::uint32_t nextRepeat = 0;       // the next repeat's hold count, counted from there
    std::uint32_t repeats = 0;          // the repeats given so far
    std::uint32_t sinceEnd = 0xFFFF;    // ticks since the last press ended, up to 0xFFFF
    bool lastTap = false;               // that press was a tap: short of the long-press time, no double press
    // It began within the double-press time of the end of a tap of the same button, double
    // press defined or not.
    bool quickSecond = false;
    friend bool operator==(const PressProgress&, const PressProgress&) = default;
};

}  // namespace quorvel
