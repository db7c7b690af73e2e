#include "engine/Application.h"

#include "actions/AppCommand.h"
#include "actions/KeyText.h"
#include "actions/Mouse.h"
#include "actions/PowerBroadcast.h"
#include "engine/ButtonEditor.h"
#include "engine/ButtonMapFile.h"
#include "engine/EmulationMode.h"
#include "platform/Dialogs.h"
#include "platform/Timer.h"
#include "ui/KeyCapture.h"
#include "ui/ModeImages.h"
#include "ui/ProcessControl.h"
#include "ui/TrayIcon.h"

namespace quorvel {
namespace {

constexpr const char* kInstanceMutexName = "QuorvelMutex";
constexpr int kIdleIndicatorImage = 2;

// While the logon ends, a message box would hold up the log-off; a failed save goes unreported.
class Unreported final : public Dialogs {
public:
    void ShowMessage(const std::string&, MessageKind) override {}
};

EmulationMode ModeOfRadio(CheckControl control) {
    switch (control) {
        case CheckControl::WinLIRCRB: return EmulationMode::WinLIRC;
        case CheckControl::KeysRB: return EmulationMode::Keys;
        case CheckControl::MouseRB: return EmulationMode::Mouse;
        case CheckControl::WMRB: return EmulationMode::Messages;
        default: return EmulationMode::None;
    }
}

}  // namespace

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

// The states the window's controls and the tray menu have before anything is loaded into them.
void Application::FillDesignState() {
    c_.form.SetItems(ListControl::NameActionCB, ActionNames());
    c_.form.SetItems(ListControl::MsCB, MouseActionNames());
    c_.form.SetItems(ListControl::NameMessageCB, AppCommandNames());
    c_.form.SetItems(ListControl::KeyE, PresetKeyCaptions());
    c_.form.SetText(TextControl::KeyE, KeyText(0));
    c_.form.SetKeyCodeValue(0);
    c_.form.SetChecked(CheckControl::WinLIRCRB, true);
    ShowSelectedMode(c_.trayMenu, EmulationMode::None);
}

bool Application::FormCreate(const std::vector<std::string>& arguments) {
    // A second copy ends before it touches anything, without a word.
    if (!c_.process.AcquireInstanceMutex(kInstanceMutexName)) return false;
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
    c_.process.RaisePriority();
    settingsStore_.LoadSettings(system_.OsMajorVersion());
    ApplyOsdColour();
    map_ = LoadButtonMap(c_.profile, ButtonMapPath(c_.executablePath));
    c_.form.SetText(TextControl::RCTypeL, map_.RemoteName());
    power_.LoadPowerLibrary();
    if (!receivers_.DetectReceivers(debugMode_)) return false;
    c_.form.SetIndicatorImage(kIdleIndicatorImage);
    if (!settings_.hiddenIcon) c_.tray.Show();
    lirc_.ActivateAtStartUp();
    return supported;
}

void Application::OnClick(CheckControl control) {
    if (control == CheckControl::LIRCServerCB) lirc_.LIRCServerCBClick();
    const EmulationMode mode = ModeOfRadio(control);
    if (mode != EmulationMode::None) ShowSelectedMode(c_.trayMenu, mode);
}

void Application::OnListChange(ListControl control) {
    if (control == ListControl::WDMCB) receivers_.WDMCBChange();
    if (control == ListControl::KeyE) KeyESelect();
}

void Application::OnButtonClick(ButtonControl control) {
    switch (control) {
        case ButtonControl::SaveButtonPropertiesSB: SaveButtonProperties(c_.form, map_); break;
        case ButtonControl::SaveSetSB: settingsStore_.SaveAll(receivers_.BeholderAvailable()); break;
        case ButtonControl::RunSB: RunSBClick(); break;
        case ButtonControl::OSDFI: OSDFIClick(); break;
    }
}

void Application::OnKeyEKeyDown(std::uint16_t virtualKey, KeyModifiers held) {
    const CapturedKey key = CaptureKeyDown(virtualKey, held);
    c_.form.SetText(TextControl::KeyE, key.text);
    c_.form.SetKeyCodeValue(key.value);
}

void Application::KeyESelect() {
    const auto key = PresetKey(c_.form.GetItemIndex(ListControl::KeyE));
    if (!key) return;
    c_.form.SetText(TextControl::KeyE, key->text);
    c_.form.SetKeyCodeValue(key->value);
}

// The button map changes only when the button's properties are saved.
void Application::RunSBClick() {
    if (const auto path = c_.form.ChooseApplication()) c_.form.SetText(TextControl::RunE, *path);
}

void Application::OSDFIClick() {
    const auto colour = c_.form.ChooseColour(settings_.osdColor);
    if (!colour) return;
    settings_.osdColor = *colour;
    ApplyOsdColour();
}

void Application::ApplyOsdColour() {
    c_.setOsdColour(settings_.osdColor);
    c_.form.SetSwatchColour(settings_.osdColor);
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

void Application::OnTrayClick() { c_.form.Restore(); }

void Application::OnMenuClick(TrayMenuItem item) {
    switch (item) {
        case TrayMenuItem::WinLIRCPM: c_.form.ClickRadio(CheckControl::WinLIRCRB); break;
        case TrayMenuItem::KeysPM: c_.form.ClickRadio(CheckControl::KeysRB); break;
        case TrayMenuItem::MousePM: c_.form.ClickRadio(CheckControl::MouseRB); break;
        case TrayMenuItem::WMAPPCOMMANDPM: c_.form.ClickRadio(CheckControl::WMRB); break;
        case TrayMenuItem::RestorePM: c_.form.Restore(); break;
        case TrayMenuItem::MinimizePM: c_.form.Minimize(); break;
        case TrayMenuItem::ExitPM:
            exitFlag_ = true;
            c_.form.Close();
            break;
    }
}

// Until the program is really to end, closing the window only sends it to the tray.
bool Application::OnCloseQuery() {
    if (exitFlag_) return true;
    c_.form.Minimize();
    return false;
}

void Application::OnClose() {
    lirc_.Shutdown();
    c_.mainT.Stop();
    // A failed save has been reported; the receiver is released and the program ends all the
    // same, and what was stored before the failure stays stored.
    settingsStore_.SaveAll(receivers_.BeholderAvailable());
    // Only now may another copy start: it reads what this one has just saved.
    c_.process.CloseInstanceMutex();
    receivers_.ReleaseReceivers();
    system_.FreeSystemLibrary();
    receivers_.FreeLibraries();
    power_.FreePowerLibrary();
}

// The program never holds up the end of the logon. Should another program cancel it, the
// flag stays set and the next close of the window ends the program through the exit sequence.
bool Application::OnQueryEndSession() {
    exitFlag_ = true;
    return true;
}

// The logon ends and the program goes with it at once, keeping what the user set up since the
// last save: a log-off is how a tray program usually ends.
void Application::OnEndSession(bool ending) {
    if (!ending) return;
    Unreported unreported;
    settingsStore_.SaveAll(receivers_.BeholderAvailable(), unreported);
    c_.process.EndNow();
}

}  // namespace quorvel
