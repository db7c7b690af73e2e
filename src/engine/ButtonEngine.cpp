#include "engine/ButtonEngine.h"

#include <algorithm>

#include "actions/AppCommand.h"
#include "actions/Keyboard.h"
#include "actions/Mouse.h"
#include "actions/PowerActions.h"
#include "actions/ProgramLauncher.h"
#include "core/Text.h"
#include "engine/ButtonEditor.h"
#include "engine/PressOsd.h"
#include "engine/ProgramInFront.h"
#include "lirc/LircBroadcaster.h"
#include "lirc/LircLine.h"
#include "model/Model.h"
#include "osd/OsdRequests.h"
#include "platform/Sound.h"
#include "platform/TrayIcon.h"
#include "platform/WindowSystem.h"
#include "receivers/ReceiverReading.h"
#include "receivers/VendorApps.h"

namespace quorvel {
namespace {

enum Action : std::uint8_t { kNone, kSleep, kHibernate, kShutdown, kChangeMode, kSleepTimer };

constexpr std::uint32_t kMaxMouseStep = 20;

}  // namespace

std::uint8_t RepeatNumber(std::uint32_t holdCount) {
    if (holdCount < 8) return 0;
    return static_cast<std::uint8_t>(std::min<std::uint32_t>((holdCount - 8) / 2 + 1, 255));
}

struct ButtonEngine::Tick {
    ReceiverReading reading;
    std::string buttonName;
    ButtonProperties properties;
    std::uint32_t holdCount = 0;
    bool newPress = false;
};

void ButtonEngine::OnTick() {
    // Key sending lets window messages run, and a timer message may come among them.
    if (inTick_) return;
    inTick_ = true;
    struct Leave {
        bool& flag;
        ~Leave() { flag = false; }
    } leave{inTick_};

    Model& model = c_.model;
    const ShownButton shownBefore = model.shown;
    const EditorButton editorBefore = model.editor;
    RunTick();
    if (!(model.shown == shownBefore)) model.Changed(Aspect::Shown);
    if (!(model.editor == editorBefore)) model.Changed(Aspect::Editor);
}

void ButtonEngine::RunTick() {
    Model& model = c_.model;
    const std::optional<ReceiverReading> reading = c_.receiver.ReadReceiver();
    if (!reading) return;
    // Only a press can be held back by the program's own window; an idle tick need not ask.
    const WindowHandle foreground = reading->active ? c_.windows.GetForegroundWindow() : kNoWindow;
    const bool ownWindowForeground = reading->active && c_.windows.IsOwnForm(foreground);

    Tick tick;
    tick.reading = *reading;
    const std::string key = MapKey(reading->extendedCode);
    if (reading->showProperties) {
        model.editor.rcCode = reading->rcCode;
        model.editor.extendedCode = reading->extendedCode;
    }
    if (reading->showProperties || ShowsEveryTick(c_.receiver.Kind())) {
        const std::string* name = model.map.Lookup(Section::Buttons, key);
        tick.buttonName = name && !name->empty() ? *name : reading->buttonName;
        model.shown.name = tick.buttonName;
    }

    const bool wasActive = previousActive_;
    model.shown.held = reading->active;
    previousActive_ = reading->active;

    if (clientEventCountdown_ > 0) {
        c_.tray.SetPicture(3);
        --clientEventCountdown_;
    } else {
        c_.tray.SetPicture(reading->active ? 1 : 2);
    }

    PressState& press = model.press;
    // Only a tick that had a button continues a press, so a Compro key 0 after an idle tick
    // (whose code is also 0) is a new press.
    const bool continues = reading->active && wasActive && reading->extendedCode == press.lastExtendedCode;
    press.holdCount = continues ? press.holdCount + 1 : 0;
    tick.holdCount = press.holdCount;
    tick.newPress = reading->active && press.holdCount == 0;
    if (tick.newPress) {
        // The program in front is asked once a press, and only when some program has definitions.
        const bool askProgram = !ownWindowForeground && !model.map.Programs().empty();
        const std::string program = askProgram ? ProgramInFront(c_.programWindows, foreground) : std::string();
        press.definition = ChooseDefinition(model.map, {program, key, model.mode});
    }
    // A press the receiver gives no properties for keeps the repeat flag last shown.
    tick.properties.repeat = model.editor.repeat;
    if (reading->showProperties) {
        model.editor.name = tick.buttonName;
        tick.properties = LoadProperties(key);
    }
    const bool notify = tick.newPress && !reading->vendorPriority;
    const Settings& settings = model.settings;

    if (notify && settings.balloonHints && !tick.buttonName.empty()) {
        c_.tray.ShowBalloon("Button pressed",
                            "Name: " + tick.buttonName + "\rCode: " + Hex(reading->extendedCode, 8));
    }
    if (notify && settings.sound) c_.sound.PlayResourceAsync("OK");

    model.shown.repeatNumber = RepeatNumber(press.holdCount);
    press.lastExtendedCode = reading->extendedCode;

    if (notify && settings.osd) {
        c_.osd.ShowOsd(ComposePressOsd(tick.buttonName, tick.properties, model, c_.sleepTimer.IsRunning()),
                       settings.osdSecondDisplay);
    }

    // While the user works in the program's own window, buttons are shown but do nothing.
    if (ownWindowForeground) return;
    Dispatch(tick);
}

// The editor shows its program's definition, or the global one where that program has none;
// the press acts on the definition chosen when it began.
ButtonProperties ButtonEngine::LoadProperties(const std::string& key) {
    Model& model = c_.model;
    const ProgramMap* editorSource = nullptr;
    const ButtonProperties shown = LoadEditorButton(model.map, model.editorProgram, key, model.editor, editorSource);
    const ProgramMap* pressSource = DefiningProgram(model.map, model.press.definition);
    if (pressSource == editorSource) return shown;
    EditorButton unshown;
    return LoadButtonProperties(model.map, key, unshown, pressSource);
}

void ButtonEngine::Dispatch(const Tick& tick) {
    switch (tick.properties.action) {
        case kSleep: c_.power.PowerSleep(); return;
        case kHibernate: c_.power.PowerHibernate(); return;
        case kShutdown: c_.power.PowerShutdown(); return;
        case kChangeMode: {
            const EmulationMode next = NextMode(c_.model.mode);
            if (tick.newPress && next != EmulationMode::None) c_.selectMode(next);
            return;
        }
        case kSleepTimer:
            if (tick.newPress) c_.sleepTimer.ToggleSleepTimer();
            return;
        default: EmulationOutputs(tick);
    }
}

void ButtonEngine::EmulationOutputs(const Tick& tick) {
    const Model& model = c_.model;
    const ReceiverReading& reading = tick.reading;
    const bool repeatAllowed = model.settings.autorepeat && tick.properties.repeat;
    if (reading.vendorPriority || !reading.active) return;
    if (!tick.newPress && !(tick.holdCount > 8 && repeatAllowed)) return;

    const ButtonProperties& p = tick.properties;
    const EmulationMode mode = model.press.definition.mode;
    // A value of 0 sends no key but still lets the pending window messages run.
    if (mode == EmulationMode::Keys || (p.mouseAction == 0 && p.messageNumber == 0)) {
        SendKeyCodeValue(c_.input, p.keyCodeValue);
    }
    if (mode == EmulationMode::Mouse || (p.keyCodeValue == 0 && p.messageNumber == 0)) {
        PerformMouseAction(c_.input, p.mouseAction, tick.newPress ? 1 : std::min(tick.holdCount, kMaxMouseStep));
    }
    if (p.messageNumber != 0 && (mode == EmulationMode::Messages || (p.keyCodeValue == 0 && p.mouseAction == 0))) {
        SendAppCommand(c_.windows, p.messageNumber);
    }
    BroadcastLirc(tick, repeatAllowed);
    if (c_.receiver.ComproLibraryPresent() && model.settings.comproDtv) NotifyComproDtv(c_.windows, reading.rcCode);
    if (!p.applicationPath.empty()) LaunchProgram(c_.processes, p.applicationPath);
}

void ButtonEngine::BroadcastLirc(const Tick& tick, bool repeatAllowed) {
    Model& model = c_.model;
    const auto showClients = [&](std::optional<std::size_t> clients) {
        if (model.listener.clients == clients) return;
        model.listener.clients = clients;
        model.Changed(Aspect::Listener);
    };
    if (model.press.definition.mode != EmulationMode::WinLIRC) {
        showClients(c_.lirc.IsActive() ? std::optional(c_.lirc.ClientCount()) : std::nullopt);
        return;
    }
    if (!c_.lirc.IsActive()) {
        showClients(std::nullopt);
        return;
    }
    // Repeat lines go out every second tick from hold count 10, so none carries 01.
    const bool lineDue =
        tick.holdCount == 0 || (tick.holdCount >= 8 && (tick.holdCount - 8) % 2 == 0 && repeatAllowed);
    if (!lineDue) return;
    const std::string line = FormatLircLine(tick.reading.extendedCode, RepeatNumber(tick.holdCount),
                                            tick.buttonName, model.map.RemoteName());
    showClients(c_.lirc.Broadcast(line));
}

}  // namespace quorvel
