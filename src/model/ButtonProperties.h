#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "model/Pace.h"

namespace quorvel {

// What the tick needs of a button, as loaded into the editor.
struct ButtonProperties {
    bool repeat = true;
    std::uint8_t action = 0;
    std::uint16_t keyCodeValue = 0;  // all 16 bits, Win included
    std::uint8_t mouseAction = 0;
    std::uint8_t messageNumber = 0;
    std::string applicationPath;
    std::string keyText = "None";
    // Nothing: the settings' pace applies.
    std::optional<Pace> pace;
    // Steps the button runs as its own action; empty for none.
    std::string macro;
};

}  // namespace quorvel
