#pragma once

#include <string>

#include "engine/ButtonEditor.h"

namespace quorvel {

struct Settings;
enum class EmulationMode;

// The text announced when a press acts, lines separated by a carriage return, in the mode the
// press took. It describes the state before the press takes effect.
std::string ComposePressOsd(const std::string& buttonName, const ButtonProperties& properties,
                            const Settings& settings, EmulationMode mode, bool sleepTimerRunning);

}  // namespace quorvel
