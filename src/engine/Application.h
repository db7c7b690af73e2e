#pragma once

#include <functional>
#include <string>
#include <vector>

#include "actions/Power.h"
#include "actions/SleepTimer.h"
#include "engine/ButtonEngine.h"
#include "engine/ButtonMap.h"
#include "lirc/LircServerPage.h"
#include "receivers/Receivers.h"
#include "settings/ProgramSettings.h"
#include "settings/SettingsStore.h"
#include "ui/Form.h"
#include "ui/SystemIdentification.h"

namespace quorvel {

class Clock;
class Dialogs;
class Input;
class Libraries;
class MainThread;
class OsdRequests;
class PowerSystem;
class Processes;
class ProfileFile;
class Registry;
class Sockets;
class Sound;
class SystemInfo;
class Timer;
class TrayIcon;
class WindowSystem;

struct ApplicationContext {
    Form& form;
    WindowSystem& windows;
    Input& input;
    Processes& processes;
    ProfileFile& profile;
    Registry& registry;
    Libraries& libraries;
    SystemInfo& systemInfo;
    PowerSystem& powerSystem;
    Sockets& sockets;
    Clock& clock;
    MainThread& mainThread;
    Dialogs& dialogs;
    Sound& sound;
    TrayIcon& tray;
    OsdRequests& osd;
    Timer& mainT;
    Timer& offTimer;
    std::string executablePath;
    // Process-wide steps that belong to the program's entry: the priority and the
    // single-instance mutex.
    std::function<void()> raisePriority;
    std::function<void()> closeInstanceMutex;
};

// The program's logic behind the main window: the start-up sequence, the window's handlers
// and the exit sequence.
class Application final : public FormEvents {
public:
    explicit Application(const ApplicationContext& context);

    // The start-up sequence; false when the program must end now (any message has been shown).
    bool FormCreate(const std::vector<std::string>& arguments);
    const ProgramSettings& Settings() const { return settings_; }

    void OnClick(CheckControl control) override;
    void OnListChange(ListControl control) override;
    void OnButtonClick(ButtonControl control) override;
    void OnTimer(TimerId timer) override;
    void OnPowerBroadcast(std::uintptr_t event) override;
    bool OnCloseQuery() override;
    void OnClose() override;

private:
    void FillDesignState();

    ApplicationContext c_;
    ProgramSettings settings_;
    ButtonMap map_;
    PressState press_;
    SystemIdentification system_;
    SettingsStore settingsStore_;
    Power power_;
    SleepTimer sleepTimer_;
    Receivers receivers_;
    LircServerPage lirc_;
    ButtonEngine engine_;
    bool debugMode_ = false;
};

}  // namespace quorvel
