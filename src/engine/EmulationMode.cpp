#include "engine/EmulationMode.h"

namespace quorvel {

EmulationMode CurrentMode(const Form& form) {
    if (form.IsChecked(CheckControl::WinLIRCRB)) return EmulationMode::WinLIRC;
    if (form.IsChecked(CheckControl::KeysRB)) return EmulationMode::Keys;
    if (form.IsChecked(CheckControl::MouseRB)) return EmulationMode::Mouse;
    if (form.IsChecked(CheckControl::WMRB)) return EmulationMode::Messages;
    return EmulationMode::None;
}

CheckControl ModeRadio(EmulationMode mode) {
    switch (mode) {
        case EmulationMode::Keys: return CheckControl::KeysRB;
        case EmulationMode::Mouse: return CheckControl::MouseRB;
        case EmulationMode::Messages: return CheckControl::WMRB;
        case EmulationMode::None:
        case EmulationMode::WinLIRC: break;
    }
    return CheckControl::WinLIRCRB;
}

EmulationMode NextMode(EmulationMode mode) {
    switch (mode) {
        case EmulationMode::WinLIRC: return EmulationMode::Keys;
        case EmulationMode::Keys: return EmulationMode::Mouse;
        case EmulationMode::Mouse: return EmulationMode::Messages;
        case EmulationMode::Messages: return EmulationMode::WinLIRC;
        case EmulationMode::None: break;
    }
    return EmulationMode::None;
}

const std::vector<std::string>& ActionNames() {
    static const std::vector<std::string> names = {"None",     "Sleep",       "Hibernate",
                                                   "Shutdown", "Change Mode", "Sleep Timer"};
    return names;
}

}  // namespace quorvel
