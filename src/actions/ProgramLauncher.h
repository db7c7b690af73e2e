#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Processes.h"

namespace quorvel {

// CreateProcessA creation flags: a console of its own, idle priority.
constexpr std::uint32_t kCreateNewConsole = 0x10;
constexpr std::uint32_t kIdlePriorityClass = 0x40;
// STARTUPINFO: honour wShowWindow, and show the program normally.
constexpr std::uint32_t kStartfUseShowWindow = 0x1;
constexpr std::uint16_t kSwShowNormal = 1;

// Starts the program, with the arguments given, without waiting for it; an empty path starts
// nothing. A start that fails is only logged, with the path and the system's reason: a press
// never opens a message.
void LaunchProgram(Processes& processes, const std::string& applicationPath, std::string_view arguments = {});

}  // namespace quorvel
