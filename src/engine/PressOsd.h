#pragma once

#include <string>

#include "engine/ButtonEditor.h"

namespace quorvel {

struct Model;

// The text announced on the first tick of a press, lines separated by a carriage return.
// It describes the state before the press takes effect.
std::string ComposePressOsd(const std::string& buttonName, const ButtonProperties& properties, const Model& model,
                            bool sleepTimerRunning);

}  // namespace quorvel
