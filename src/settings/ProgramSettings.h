#pragma once

#include <cstdint>

namespace quorvel {

// Settings held in program variables rather than in the window's controls.
struct ProgramSettings {
    std::uint32_t cardIndex = 0;
    bool hiddenIcon = false;
    bool comproButton0 = false;
    std::int32_t sleepTime = 30;
    bool sleepOsd = true;
    std::uint8_t sleepAction = 3;
    std::uint32_t osdColor = 0x00FAFAB4;
};

}  // namespace quorvel
