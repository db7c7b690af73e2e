#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "engine/ButtonEditor.h"
#include "engine/PressRule.h"
#include "platform/Handles.h"
#include "receivers/ReceiverReading.h"

namespace quorvel {

class Input;
class LircBroadcaster;
class Log;
class MacroRuns;
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
struct LaterOutputs;
struct Model;

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
    Log& log;
    MacroRuns& macros;
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
    void NoteClientEvent();

private:
    struct Tick;
    // The steps of a tick, in their order.
    void RunTick();
    Tick ShowButton(const ReceiverReading& reading);
    void ShowTrayPicture(bool active);
    void NoteForeground(WindowHandle foreground);
    PressFacts GatherPressFacts(const ReceiverReading& reading) const;
    void TellIfKeysCannotReach(WindowHandle foreground);
    void ChoosePressDefinition(const ReceiverReading& reading, WindowHandle foreground, bool ownWindowForeground);
    // The editor's and the press's properties, when the receiver gives them.
    void LoadProperties(Tick& tick);
    ButtonProperties LoadPressProperties(const std::string& key);
    void KeepLaterOutputs(const Tick& tick);
    // What the press's gestures and their repeats depend on, once its properties are known.
    void AddGestureFacts(PressFacts& facts, const ButtonProperties& properties) const;
    PressStep TakeStep(const PressFacts& facts, const ReceiverReading& reading);
    void ShowGestureInEditor(const Tick& tick, bool ownWindowForeground);
    void ShowGestureInEditor(const Tick& tick, Gesture gesture);
    // Notifies and, unless held back, dispatches what acts in this tick.
    void Act(const Tick& tick, bool heldBack);
    // For a press with a long or double press: the button's line, and what its gesture gives.
    void ActOnGestures(const Tick& tick, bool heldBack);
    // The outputs of a press that waited for its release or for a second press.
    void ActOnRelease(const LaterOutputs& ended, const ReceiverReading& reading, bool heldBack);
    void Notify(const Tick& tick);
    void Dispatch(const Tick& tick);
    void RunMacro(const Tick& tick);
    void EmulationOutputs(const Tick& tick);
    void BroadcastLirc(const Tick& tick);

    EngineContext c_;
    // The foreground window last seen, and the last one seen that was no passing shell window.
    WindowHandle seenForeground_ = kNoWindow;
    WindowHandle lastInFront_ = kNoWindow;
    // The window and the process in front whose rights a press last looked at.
    WindowHandle rightsWindow_ = kNoWindow;
    std::uint32_t rightsProcess_ = 0;
    int clientEventCountdown_ = 0;
    bool inTick_ = false;
};

}  // namespace quorvel
