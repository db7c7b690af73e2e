// Substitute for the Compro cards' vendor command library. It is only looked for, never
// read, so its exports just record that they were called.

#include "common/SimExport.h"
#include "common/Simulator.h"

namespace {

constexpr std::uint16_t kNoControlPort = 0;

quorvel::sim::Simulator& Sim() {
    static quorvel::sim::Simulator simulator("VendorCmdRW", kNoControlPort);
    return simulator;
}

}  // namespace

SIM_EXPORT std::uint32_t __cdecl SendVendorCmd() {
    Sim().Record("SendVendorCmd");
    return 0;
}

SIM_EXPORT std::uint32_t __cdecl GetIRCode() {
    Sim().Record("GetIRCode");
    return 0;
}

SIM_EXPORT std::uint32_t __cdecl GetOneButtonStatus() {
    Sim().Record("GetOneButtonStatus");
    return 0;
}

SIM_EXPORT std::uint32_t __cdecl InitIR() {
    Sim().Record("InitIR");
    return 0;
}
