#include "engine/Application.h"

#include "actions/PowerBroadcast.h"
#include "engine/ButtonEditor.h"
#include "lirc/LircPort.h"
#include "platform/Dialogs.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "platform/ProfileFile.h"
#include "platform/ProcessControl.h"
#include "platform/Timer.h"
#include "platform/TrayIcon.h"
#include "settings/ButtonMapFile.h"

namespace quorvel {
namespace {

constexpr const char* kInstanceMutexName = "QuorvelMutex";
constexpr std::uint32_t kTryMacroDelayMs = 2000;
constexpr const char* kWhereItRuns =
    "Quorvel runs here, in the notification area. Click its icon to open the window; right-click it for the menu.";

// While the logon ends, a message box would hold up the log-off: a failed save goes only into
// the log.
class Unreported final : public Dialogs {
public:
    void ShowMessage(const std::string&, MessageKind) override {}
    bool Ask(const std::string&, MessageKind) override { return false; }
};

// The executable's folder as Explorer shows it: without the last backslash, unless it is a root.
std::string ProgramFolder(const std::string& executablePath) {
    std::string_view folder = SplitPath(executablePath).folder;
    const std::string_view parent = folder.empty() ? folder : folder.substr(0, folder.size() - 1);
    if (!parent.empty() && parent.back() != ':' && folder.back() != ':') folder = parent;
    return std::string(folder);
}

}  // namespace

Application::Application(const ApplicationContext& context)
    : c_(context),
      system_(c_.libraries, c_.systemInfo),
      settingsStore_(SettingsContext{c_.registry, c_.dialogs, c_.profile, model_, c_.executablePath, c_.log}),
      power_(PowerContext{model_.settings, c_.libraries, c_.powerSystem, c_.mainT}),
      sleepTimer_(SleepTimerContext{model_, c_.offTimer, c_.input, c_.osd, power_}),
      receivers_(ReceiversContext{model_, c_.dialogs, c_.libraries, c_.windows, c_.tray, c_.mainT, c_.log, c_.sockets,
                                  c_.mainThread, c_.clock}),
      lirc_(model_, c_.tray, c_.dialogs, c_.log, c_.mainThread, c_.clock, c_.sockets,
            [this] { engine_.NoteClientEvent(); }),
      programs_(model_, c_.dialogs, c_.programWindows),
      macros_(MacroContext{model_, c_.input, c_.windows, c_.processes, power_, sleepTimer_, c_.profile, c_.macroT, c_.log,
                           [this](EmulationMode mode) { SelectMode(mode); }}),
      engine_(EngineContext{model_, c_.windows, c_.input, c_.processes, c_.programWindows, receivers_, power_, sleepTimer_,
                            lirc_.Broadcaster(), c_.tray, c_.sound, c_.osd, c_.log, macros_,
                            [this](EmulationMode mode) { SelectMode(mode); }}) {}

bool Application::Start(const std::vector<std::string>& arguments) {
    // A second copy ends before it touches anything, without a word; the running copy shows
    // where it is.
    if (!c_.process.AcquireInstanceMutex(kInstanceMutexName)) {
        c_.showRunningCopy();
        return false;
    }
    model_.osName = system_.GetOSName();
    // An unsupported Windows still runs the start-up to its end, then the program ends.
    const bool supported = system_.IsSupported();
    for (const std::string& argument : arguments) {
        if (argument.find_first_of("dD") == std::string::npos) continue;
        debugMode_ = true;
        c_.dialogs.ShowMessage("Debug Mode", MessageKind::Information);
    }
    model_.version = system_.GetFileVersionString();
    c_.log.Write("Quorvel " + model_.version + " starts on " + model_.osName);
    model_.Changed(Aspect::Identity);
    c_.process.RaisePriority();
    const bool settingsStored = settingsStore_.LoadSettings(system_.OsMajorVersion());
    ApplyOsdColour();
    model_.map = LoadButtonMap(c_.profile, ButtonMapPath(c_.executablePath), c_.log);
    model_.Changed(Aspect::RemoteName);
    model_.Changed(Aspect::Programs);
    lirc_.PublishDirectory();
    power_.LoadPowerLibrary();
    if (!receivers_.DetectReceivers(debugMode_, ProgramFolder(c_.profile.ToAnsi(c_.executablePath)))) return false;
    if (!model_.settings.hiddenIcon) {
        c_.tray.Show();
        // A new user, who has not seen the window yet, learns where the program went.
        if (!settingsStored) c_.tray.ShowBalloon("Quorvel", kWhereItRuns);
    }
    ApplyListener();
    if (receivers_.AwaitingServer()) c_.openReceiverSettings();
    if (supported) return true;
    // Nothing is saved, but what start-up opened is released as at the exit.
    lirc_.Shutdown();
    c_.mainT.Stop();
    c_.process.CloseInstanceMutex();
    Release();
    return false;
}

bool Application::AnotherCopyStarted() const { return !model_.settings.hiddenIcon; }

void Application::OnPowerBroadcast(std::uintptr_t event) {
    // Nothing stays held down while the computer sleeps.
    if (event == kPbtApmSuspend) macros_.Stop();
    WMPowerBroadcast(event, system_.OsMajorVersion(), c_.mainT, sleepTimer_);
}

bool Application::TryMacro(const std::string& text) {
    ParsedMacro parsed = ParseMacro(text);
    if (parsed.fault) return false;
    MacroStep wait;
    wait.kind = MacroStep::Kind::Wait;
    wait.number = kTryMacroDelayMs;
    parsed.macro.steps.insert(parsed.macro.steps.begin(), wait);
    macros_.Run(std::move(parsed.macro), "the editor");
    return true;
}

CodePage& Application::AnsiCodePage() { return c_.profile; }

void Application::SelectMode(EmulationMode mode) {
    model_.mode = mode;
    model_.Changed(Aspect::Mode);
}

void Application::ChangeSettings(const Settings& settings) {
    model_.settings = settings;
    model_.Changed(Aspect::Settings);
}

void Application::SwitchListener(bool on) {
    model_.settings.lircServerEnabled = on;
    model_.Changed(Aspect::Settings);
    ApplyListener();
}

void Application::ApplyListener() {
    lirc_.Apply();
    receivers_.OwnServerChanged(model_.listener.active ? ParsePort(model_.settings.lircServerPort) : std::nullopt);
}

void Application::ChangeOsdColour(std::uint32_t colour) {
    model_.settings.osdColor = colour;
    model_.Changed(Aspect::Settings);
    ApplyOsdColour();
}

void Application::ApplyOsdColour() { c_.setOsdColour(model_.settings.osdColor); }

void Application::ChooseCard(int index) { receivers_.ChooseCard(index); }

void Application::SaveAll() {
    if (settingsStore_.SaveAll(receivers_.BeholderAvailable())) model_.ShowStatus("Settings saved");
    receivers_.SettingsSaved();
}

void Application::ChangeEditor(const EditorButton& editor) {
    if (editor == model_.editor) return;
    model_.editor = editor;
    model_.editorUnsaved = true;
    model_.Changed(Aspect::Editor);
}

void Application::CaptureKey(std::uint16_t virtualKey, KeyModifiers held) {
    const CapturedKey key = CaptureKeyDown(virtualKey, held);
    model_.editor.keyText = key.text;
    model_.editor.keyCodeValue = key.value;
    model_.editorUnsaved = true;
    model_.Changed(Aspect::Editor);
}

void Application::ChoosePresetKey(int index) {
    const auto key = PresetKey(index);
    if (!key) return;
    model_.editor.keyText = key->text;
    model_.editor.keyCodeValue = key->value;
    model_.editorUnsaved = true;
    model_.Changed(Aspect::Editor);
}

void Application::CommitEditor() {
    ProgramMap* program = model_.editorProgram.empty() ? nullptr : model_.map.FindProgram(model_.editorProgram);
    if (!quorvel::CommitEditor(model_.editor, model_.map, program)) return;
    lirc_.PublishDirectory();
    model_.editorUnsaved = false;
    model_.editor.ownDefinition = program != nullptr;
    model_.Changed(Aspect::Editor);
    // The file is written only by "Save Settings" and "Exit"; the status says so.
    model_.ShowStatus("'" + EditedButtonName(model_.editor) + "' is defined; Save Settings writes it to the file");
}

// The field shows what is typed; an empty one stands for the default name, which it shows again
// at the next start.
void Application::RenameRemote(const std::string& name) {
    const std::string before = model_.map.RemoteName();
    model_.map.SetRemoteName(name);
    if (model_.map.RemoteName() != before) lirc_.PublishDirectory();
}

void Application::Exit() {
    // The shell removes the icon while the exit does its own work.
    c_.tray.Remove();
    macros_.Stop();
    lirc_.Shutdown();
    c_.mainT.Stop();
    // A failed save has been reported; the receiver is released and the program ends all the
    // same, and what was stored before the failure stays stored.
    settingsStore_.SaveAll(receivers_.BeholderAvailable());
    // Only now may another copy start: it reads what this one has just saved.
    c_.process.CloseInstanceMutex();
    Release();
}

void Application::Release() {
    receivers_.ReleaseReceivers();
    system_.FreeSystemLibrary();
    receivers_.FreeLibraries();
    power_.FreePowerLibrary();
}

// The program never holds up the end of the logon. Should another program cancel it, the
// flag stays set and the next close of the window ends the program through the exit sequence.
bool Application::QueryEndSession() {
    model_.exitRequested = true;
    return true;
}

// The logon ends and the program goes with it at once, keeping what the user set up since the
// last save: a log-off is how a tray program usually ends.
void Application::EndSession(bool ending) {
    if (!ending) return;
    macros_.Stop();
    Unreported unreported;
    settingsStore_.SaveAll(receivers_.BeholderAvailable(), unreported);
    c_.process.EndNow();
}

}  // namespace quorvel
