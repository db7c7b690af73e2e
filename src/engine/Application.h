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
class ProcessControl;
class Processes;
class ProfileFile;
class Registry;
class Sockets;
class Sound;
class SystemInfo;
class Timer;
class TrayIcon;
class TrayMenu;
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
    TrayMenu& trayMenu;
    OsdRequests& osd;
    Timer& mainT;
    Timer& offTimer;
    ProcessControl& process;
    std::string executablePath;
    // The colour the on-screen display paints its letters in.
    std::function<void(std::uint32_t colour)> setOsdColour;
};

// The program's logic behind the main window: the start-up sequence, the handlers of the
// window, the tray icon and its menu, and the exit sequence.
class Application final : public FormEvents {
public:
    explicit Application(const ApplicationContext& context);

    // The start-up sequence; false when the program must end now (any message has been shown).
    bool FormCreate(const std::vector<std::string>& arguments);
    bool ExitFlag() const { return exitFlag_; }

    void OnClick(CheckControl control) override;
    void OnListChange(ListControl control) override;
    void OnButtonClick(ButtonControl control) override;
    void OnKeyEKeyDown(std::uint16_t virtualKey, KeyModifiers held) override;
    void OnTimer(TimerId timer) override;
    void OnPowerBroadcast(std::uintptr_t event) override;
    void OnTrayClick() override;
    void OnMenuClick(TrayMenuItem item) override;
    bool OnCloseQuery() override;
    void OnClose() override;
    bool OnQueryEndSession() override;
    void OnEndSession(bool ending) override;

private:
    void FillDesignState();
    void KeyESelect();
    void RunSBClick();
    void OSDFIClick();
    void ApplyOsdColour();

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
    bool exitFlag_ = false;
};

}  // namespace quorvel
