// Substitute for the Beholder cards' remote-control library.

#include <atomic>
#include <string>

#include "common/SimExport.h"
#include "common/Simulator.h"

namespace {

constexpr std::uint16_t kDefaultControlPort = 8770;
constexpr std::uint32_t kRemoteType = 1;

quorvel::sim::Simulator& Sim() {
    static quorvel::sim::Simulator simulator("BeholdRC", kDefaultControlPort);
    return simulator;
}

// A real receiver reports nothing until a card has been opened.
std::atomic<bool> cardOpen{false};

}  // namespace

SIM_EXPORT std::uint32_t __cdecl GetCardCount() {
    Sim().Record("GetCardCount");
    Sim().StartControl();
    return Sim().Config().cardCount;
}

#ifndef SIM_LEAVE_OUT_GetCardName
SIM_EXPORT const char* __cdecl GetCardName(std::uint32_t index) {
    Sim().Record("GetCardName(" + std::to_string(index) + ")");
    const auto& names = Sim().Config().cardNames;
    return index < names.size() ? names[index].c_str() : "";
}
#endif

SIM_EXPORT std::uint32_t __cdecl OpenCard(std::uint32_t index) {
    Sim().Record("OpenCard(" + std::to_string(index) + ")");
    const quorvel::sim::SimConfig& config = Sim().Config();
    const bool opened = index < config.cardCount && !config.OpenCardFails(index);
    cardOpen = opened;
    return opened ? 1 : 0;
}

SIM_EXPORT std::uint32_t __cdecl GetRemoteType() {
    Sim().Record("GetRemoteType");
    return kRemoteType;
}

// GetRemoteCode comes first in every poll and tells the RC code of the button that the
// following GetRemoteCodeEx reports; GetRemoteCodeEx is the call that counts the poll.
SIM_EXPORT std::uint32_t __cdecl GetRemoteCode() {
    Sim().RecordPoll("GetRemoteCode");
    if (!cardOpen) {
        return 0;
    }
    const auto button = Sim().Peek();
    return button ? button->rcCode : 0;
}

SIM_EXPORT std::uint32_t __cdecl GetRemoteCodeEx() {
    Sim().RecordPoll("GetRemoteCodeEx");
    if (!cardOpen) {
        return 0;
    }
    const auto button = Sim().Poll();
    return button ? button->extCode : 0;
}

SIM_EXPORT std::uint32_t __cdecl UnInit() {
    Sim().Record("UnInit");
    cardOpen = false;
    return 1;
}
