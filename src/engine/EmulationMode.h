#pragma once

#include <string>
#include <vector>

#include "ui/Form.h"

namespace quorvel {

// The numbers are those the "Mode" setting stores.
enum class EmulationMode { None = 0, WinLIRC = 1, Keys = 2, Mouse = 3, Messages = 4 };

// The mode is whichever radio button is checked; None while none is.
EmulationMode CurrentMode(const Form& form);
CheckControl ModeRadio(EmulationMode mode);
EmulationMode NextMode(EmulationMode mode);

// The items of NameActionCB; their indexes are the stored action numbers.
const std::vector<std::string>& ActionNames();

}  // namespace quorvel
