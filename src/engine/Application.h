#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "actions/KeyCapture.h"
#include "actions/Power.h"
#include "actions/SleepTimer.h"
#include "engine/ButtonEngine.h"
#include "engine/MacroRunner.h"
#include "engine/ProgramChoices.h"
#include "engine/SystemIdentification.h"
#include "lirc/LircListener.h"
#include "model/Model.h"
#include "receivers/Receivers.h"
#include "settings/SettingsStore.h"

namespace quorvel {

class Clock;
class CodePage;
class Dialogs;
class Input;
class Libraries;
class Log;
class MainThread;
class OsdRequests;
class PowerSystem;
class ProcessControl;
class Processes;
class ProfileFile;
class Registry;
class Sockets;
class Sound;
class SystemInfo;
class Timer;
class ProgramWindows;
class TrayIcon;
class WindowSystem;

struct ApplicationContext {
    WindowSystem& windows;
    Input& input;
    Processes& processes;
    ProgramWindows& programWindows;
    ProfileFile& profile;
    Registry& registry;
    Libraries& libraries;
    SystemInfo& systemInfo;
    PowerSystem& powerSystem;
    Sockets& sockets;
    Clock& clock;
    MainThread& mainThread;
    Dialogs& dialogs;
    Log& log;
    Sound& sound;
    TrayIcon& tray;
    OsdRequests& osd;
    Timer& mainT;     // the 50 ms tick
    Timer& offTimer;  // the sleep timer's minute
    Timer& macroT;    // the end of a macro's wait
    ProcessControl& process;
    std::u16string executablePath;  // UTF-16, so that a folder of any name works
    // The colour the on-screen display paints its letters in.
    std::function<void(std::uint32_t colour)> setOsdColour;
    // Asks the copy of the program that already runs to show its window.
    std::function<void()> showRunningCopy;
    // Shows the window with the setting of the receiver, for a user without a card.
    std::function<void()> openReceiverSettings;
};

// The program's logic: the start-up sequence, what the user's choices in the window and the
// tray menu do, the tick, and the exit sequence. It keeps the program's state in its model,
// which the window shows.
class Application final {
public:
    explicit Application(const ApplicationContext& context);

    Model& State() { return model_; }

    // The start-up sequence; false when the program must end now (any message has been shown).
    bool Start(const std::vector<std::string>& arguments);

    // Another copy was started and ended at once: whether this one shows its window. A program
    // the user hid altogether stays hidden.
    bool AnotherCopyStarted() const;

    void OnTick() { engine_.OnTick(); }
    void OnSleepTimerMinute() { sleepTimer_.OffTimerTimer(); }
    void OnMacroTimer() { macros_.OnTimer(); }
    // Runs the macro as its button would, two seconds from now, so that the user can bring the
    // window it is meant for to the front; false, running nothing, when it cannot be read.
    bool TryMacro(const std::string& text);
    // The code page the button map's texts are held in.
    CodePage& AnsiCodePage();
    // WM_POWERBROADCAST, before the window's default handling.
    void OnPowerBroadcast(std::uintptr_t event);

    void SelectMode(EmulationMode mode);
    // Settings the user changed in the window; they take effect at once.
    void ChangeSettings(const Settings& settings);
    // The listener follows its switch at once.
    void SwitchListener(bool on);
    void ChangeOsdColour(std::uint32_t colour);
    void ChooseCard(int index);
    // Settings, autorun entry and button map, as at the exit.
    void SaveAll();

    // The user's edits of the editor, kept until the tick reads another button.
    void ChangeEditor(const EditorButton& editor);
    // A key pressed in the key field, or a key chosen from its list.
    void CaptureKey(std::uint16_t virtualKey, KeyModifiers held);
    void ChoosePresetKey(int index);
    // The editor into the button map (in memory until the next save), for the editor's program.
    void CommitEditor();
    // The remote's name, the last field of every WinLIRC line; in the file from the next save.
    // An empty name stands for the default one.
    void RenameRemote(const std::string& name);
    ProgramChoices& Programs() { return programs_; }

    // "Exit": from now on the window may close, and closing it ends the program.
    void RequestExit() { model_.exitRequested = true; }
    // Whether the window may close; when not, the program goes to the tray instead.
    bool CanClose() const { return model_.exitRequested; }
    // The exit sequence, as the window closes for good.
    void Exit();
    // Windows asks whether the logon may end; then it ends (or not).
    bool QueryEndSession();
    void EndSession(bool ending);

private:
    void ApplyOsdColour();
    // The receiver released, then the libraries unloaded, in the exit sequence's order.
    void Release();
    // The listener as the settings want it; the network receiver learns its port.
    void ApplyListener();

    ApplicationContext c_;
    Model model_;
    SystemIdentification system_;
    SettingsStore settingsStore_;
    Power power_;
    SleepTimer sleepTimer_;
    Receivers receivers_;
    LircListener lirc_;
    ProgramChoices programs_;
    MacroRunner macros_;
    ButtonEngine engine_;
    bool debugMode_ = false;
};

}  // namespace quorvel
