#pragma once

#include <cstdint>

namespace quorvel {

class ButtonMap;
class Form;
class Input;
class LircBroadcaster;
class OsdRequests;
class PowerActions;
class Processes;
class Receiver;
class SleepTimerSwitch;
class Sound;
class TrayIcon;
class WindowSystem;
struct ProgramSettings;

// Hold count and previous code, kept from tick to tick; a receiver that starts resets them.
struct PressState {
    std::uint32_t holdCount = 0;
    std::uint32_t lastExtendedCode = 0;
    void Reset() { holdCount = 0, lastExtendedCode = 0; }
};

// 0 below hold count 8, then one more every second tick, at most 255.
std::uint8_t RepeatNumber(std::uint32_t holdCount);

struct EngineContext {
    Form& form;
    WindowSystem& windows;
    Input& input;
    Processes& processes;
    Receiver& receiver;
    const ButtonMap& map;
    const ProgramSettings& settings;
    PowerActions& power;
    SleepTimerSwitch& sleepTimer;
    LircBroadcaster& lirc;
    TrayIcon& tray;
    Sound& sound;
    OsdRequests& osd;
    PressState& press;
};

// The 50 ms tick: reads the receiver, shows the button, tells presses from repeats and
// dispatches them.
class ButtonEngine {
public:
    explicit ButtonEngine(const EngineContext& context) : c_(context) {}

    void MainTTimer();
    // A WinLIRC client came or went: the tray shows it for the next ten ticks.
    void NoteClientEvent() { clientEventCountdown_ = 10; }

private:
    struct Tick;
    void Dispatch(const Tick& tick);
    void EmulationOutputs(const Tick& tick);
    void BroadcastLirc(const Tick& tick, bool repeatAllowed);

    EngineContext c_;
    bool previousActive_ = false;
    int clientEventCountdown_ = 0;
    bool inTick_ = false;
};

}  // namespace quorvel
