#include "engine/Application.h"

#include "actions/AppCommand.h"
#include "actions/Mouse.h"
#include "actions/PowerBroadcast.h"
#include "engine/ButtonEditor.h"
#include "engine/ButtonMapFile.h"
#include "engine/EmulationMode.h"
#include "platform/Dialogs.h"
#include "platform/Timer.h"
#include "ui/TrayIcon.h"

namespace quorvel {

Application::Application(const ApplicationContext& context)
    : c_(context),
      system_(c_.libraries, c_.systemInfo),
      settingsStore_(SettingsContext{c_.registry, c_.form, *this, c_.dialogs, c_.profile, settings_, map_,
                                     c_.executablePath}),
      power_(PowerContext{c_.form, c_.libraries, c_.powerSystem, c_.mainT}),
      sleepTimer_(SleepTimerContext{c_.form, c_.offTimer, c_.input, c_.osd, settings_, power_}),
      receivers_(ReceiversContext{c_.form, c_.dialogs, c_.libraries, c_.windows, c_.tray, c_.mainT, press_,
                                  settings_}),
      lirc_(c_.form, c_.tray, c_.dialogs, c_.mainThread, c_.clock, c_.sockets,
            [this] { engine_.NoteClientEvent(); }),
      engine_(EngineContext{c_.form, c_.windows, c_.input, c_.processes, receivers_, map_, settings_, power_,
                            sleepTimer_, lirc_.Broadcaster(), c_.tray, c_.sound, c_.osd, press_}) {}

// The states the window's controls have before anything is loaded into them.
void Application::FillDesignState() {
    c_.form.SetItems(ListControl::NameActionCB, ActionNames());
    c_.form.SetItems(ListControl::MsCB, MouseActionNames());
    c_.form.SetItems(ListControl::NameMessageCB, AppCommandNames());
    c_.form.SetChecked(CheckControl::WinLIRCRB, true);
}

bool Application::FormCreate(const std::vector<std::string>& arguments) {
    FillDesignState();
    c_.form.SetText(TextControl::OSL, system_.GetOSName());
    // An unsupported Windows still runs the start-up to its end, then the program ends.
    const bool supported = system_.IsSupported();
    for (const std::string& argument : arguments) {
        if (argument.find_first_of("dD") == std::string::npos) continue;
        debugMode_ = true;
        c_.dialogs.ShowMessage("Debug Mode", MessageKind::Information);
    }
    c_.form.SetText(TextControl::VersionL, system_.GetFileVersionString());
    c_.raisePriority();
    settingsStore_.LoadSettings(system_.OsMajorVersion());
    map_ = LoadButtonMap(c_.profile, ButtonMapPath(c_.executablePath));
    c_.form.SetText(TextControl::RCTypeL, map_.RemoteName());
    power_.LoadPowerLibrary();
    if (!receivers_.DetectReceivers(debugMode_)) return false;
    c_.form.SetIndicatorImage(2);
    if (!settings_.hiddenIcon) c_.tray.Show();
    lirc_.ActivateAtStartUp();
    return supported;
}

void Application::OnClick(CheckControl control) {
    if (control == CheckControl::LIRCServerCB) lirc_.LIRCServerCBClick();
}

void Application::OnListChange(ListControl control) {
    if (control == ListControl::WDMCB) receivers_.WDMCBChange();
}

void Application::OnButtonClick(ButtonControl control) {
    switch (control) {
        case ButtonControl::SaveButtonPropertiesSB: SaveButtonProperties(c_.form, map_); break;
        case ButtonControl::SaveSetSB: settingsStore_.SaveAll(receivers_.BeholderAvailable()); break;
        case ButtonControl::RunSB: break;
    }
}

void Application::OnTimer(TimerId timer) {
    switch (timer) {
        case TimerId::MainT: engine_.MainTTimer(); break;
        case TimerId::OffTimer: sleepTimer_.OffTimerTimer(); break;
    }
}

void Application::OnPowerBroadcast(std::uintptr_t event) {
    WMPowerBroadcast(event, system_.OsMajorVersion(), c_.mainT, sleepTimer_);
}

bool Application::OnCloseQuery() { return true; }

void Application::OnClose() {
    lirc_.Shutdown();
    c_.mainT.Stop();
    c_.closeInstanceMutex();
    // A failed save has been reported; the receiver is released and the program ends all the
    // same, and what was stored before the failure stays stored.
    settingsStore_.SaveAll(receivers_.BeholderAvailable());
    receivers_.ReleaseReceivers();
    system_.FreeSystemLibrary();
    receivers_.FreeLibraries();
    power_.FreePowerLibrary();
}

}  // namespace quorvel
