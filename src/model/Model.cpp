#include "model/Model.h"

namespace quorvel {

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

}  // namespace quorvel
