// Substitute for the Compro cards' remote-control SDK library.

#include "common/SimExport.h"
#include "common/Simulator.h"

namespace {

constexpr std::uint16_t kDefaultControlPort = 8771;

quorvel::sim::Simulator& Sim() {
    static quorvel::sim::Simulator simulator("RemoteSdk", kDefaultControlPort);
    return simulator;
}

}  // namespace

SIM_EXPORT std::uint32_t __cdecl GetDeviceNum(std::uint32_t* count) {
    Sim().Record("GetDeviceNum");
    Sim().StartControl();
    const quorvel::sim::SimConfig& config = Sim().Config();
    if (config.deviceNumFails || count == nullptr) {
        return 0;
    }
    *count = config.deviceCount;
    return 1;
}

// The extended code queued through the control channel is the key code; key 0 is a key too.
SIM_EXPORT std::uint32_t __cdecl GetKeyCode(std::uint32_t* key) {
    Sim().RecordPoll("GetKeyCode");
    if (key == nullptr) {
        return 0;
    }
    const auto button = Sim().Poll();
    if (!button) {
        return 0;
    }
    *key = button->extCode;
    return 1;
}

SIM_EXPORT std::uint32_t __cdecl ReleaseResource() {
    Sim().Record("ReleaseResource");
    return 1;
}

#ifndef SIM_LEAVE_OUT_HookMessage
SIM_EXPORT std::uint32_t __cdecl HookMessage() {
    Sim().Record("HookMessage");
    return 0;
}
#endif

SIM_EXPORT std::uint32_t __cdecl DefineKeyFun() {
    Sim().Record("DefineKeyFun");
    return 0;
}
