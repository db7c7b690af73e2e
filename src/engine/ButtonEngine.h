#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace quorvel {

class Input;
class LircBroadcaster;
class OsdRequests;
class PowerActions;
class Processes;
class ProgramWindows;
class Receiver;
class SleepTimerSwitch;
class Sound;
class TrayIcon;
class WindowSystem;
enum class EmulationMode;
struct ButtonProperties;
struct Model;

// 0 below hold count 8, then one more every second tick, at most 255.
std::uint8_t RepeatNumber(std::uint32_t holdCount);

struct EngineContext {
    Model& model;
    WindowSystem& windows;
    Input& input;
    Processes& processes;
    ProgramWindows& programWindows;
    Receiver& receiver;
    PowerActions& power;
    SleepTimerSwitch& sleepTimer;
    LircBroadcaster& lirc;
    TrayIcon& tray;
    Sound& sound;
    OsdRequests& osd;
    // The "Change Mode" action chooses the next mode as the user does.
    std::function<void(EmulationMode)> selectMode;
};

// The 50 ms tick: reads the receiver, shows the button, tells presses from repeats and
// dispatches them.
class ButtonEngine {
public:
    explicit ButtonEngine(const EngineContext& context) : c_(context) {}

    void OnTick();
    // A WinLIRC client came or went: the tray shows it for the next ten ticks.
    void NoteClientEvent() { clientEventCountdown_ = 10; }

private:
    struct Tick;
    void RunTick();
    ButtonProperties LoadProperties(const std::string& key);
    void Dispatch(const Tick& tick);
    void EmulationOutputs(const Tick& tick);
    void BroadcastLirc(const Tick& tick, bool repeatAllowed);

    EngineContext c_;
    bool previousActive_ = false;
    int clientEventCountdown_ = 0;
    bool inTick_ = false;
};

}  // namespace quorvel
