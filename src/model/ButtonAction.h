#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorvel {

// A button's own action; the numbers are those the button map stores and the editor's list
// indexes. The sleep timer's "SleepAction" uses the numbers of the three power actions.
enum class ButtonAction : std::uint8_t { None = 0, Sleep = 1, Hibernate = 2, Shutdown = 3, ChangeMode = 4, SleepTimer = 5 };

// A stored number beyond the list acts as None.
constexpr ButtonAction ActionOf(std::uint8_t stored) {
    return stored <= static_cast<std::uint8_t>(ButtonAction::SleepTimer) ? static_cast<ButtonAction>(stored)
                                                                          : ButtonAction::None;
}

// The editor's list of special actions, indexed by ButtonAction.
const std::vector<std::string>& ActionNames();

}  // namespace quorvel
