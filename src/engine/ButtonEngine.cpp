#include "engine/ButtonEngine.h"

#include <algorithm>
#include <utility>

#include "actions/AppCommand.h"
#include "actions/Keyboard.h"
#include "actions/Mouse.h"
#include "actions/PowerActions.h"
#include "actions/ProgramLauncher.h"
#include "core/Text.h"
#include "engine/ButtonEditor.h"
#include "engine/MacroRunner.h"
#include "engine/PressOsd.h"
#include "engine/PressRule.h"
#include "engine/ProgramInFront.h"
#include "lirc/LircBroadcaster.h"
#include "lirc/LircLine.h"
#include "model/ButtonAction.h"
#include "model/Model.h"
#include "osd/OsdRequests.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "platform/ProgramWindows.h"
#include "platform/Sound.h"
#include "platform/TrayIcon.h"
#include "platform/WindowSystem.h"
#include "receivers/ReceiverReading.h"
#include "receivers/VendorApps.h"

namespace quorvel {
namespace {

// A WinLIRC client's coming or going shows on the tray for this many ticks.
constexpr int kClientEventTicks = 10;

// A program set to "WinLIRC only" is sent nothing but the lines: what the button would
// type, move or command is dropped from its press, while its own action still runs.
ButtonProperties ForPress(ButtonProperties properties, const PressDefinition& definition) {
    if (definition.linesOnly) {
        properties.keyCodeValue = properties.mouseAction = properties.messageNumber = 0;
        properties.keyText = "None";
    }
    return properties;
}

}  // namespace

struct ButtonEngine::Tick {
    ReceiverReading reading;
    std::string buttonName;
    ButtonProperties properties;
    PressStep step;
    // The mode the press took when it began.
    EmulationMode mode{};
};

void ButtonEngine::NoteClientEvent() { clientEventCountdown_ = kClientEventTicks; }

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
    const std::optional<ReceiverReading> reading = c_.receiver.ReadReceiver();
    if (!reading) return;
    Model& model = c_.model;
    PressState& press = model.press;
    // With programs in the map the foreground is watched every tick, so that the window the
    // user came from is known when a press finds a passing shell window in front; without them
    // an idle tick asks nothing. Only a press, or a tick that may give a waiting press's
    // outputs, can be held back by the program's own window.
    const bool mayAct = reading->active || press.progress.waiting != Waiting::None;
    const bool watchFront = !model.map.Programs().empty();
    const WindowHandle foreground = mayAct || watchFront ? c_.windows.GetForegroundWindow() : kNoWindow;
    if (watchFront) NoteForeground(foreground);
    const bool ownWindowForeground = mayAct && c_.windows.IsOwnForm(foreground);

    Tick tick = ShowButton(*reading);
    c_.model.shown.held = reading->active;
    ShowTrayPicture(reading->active);
    PressFacts facts = GatherPressFacts(*reading);
    const bool newPress = facts.active && !facts.continues;
    // A double press keeps the definition and the gestures its first press found; any other new
    // press takes the place of the one before, whose outputs may still be due.
    const bool firstPress = newPress && !BeginsDoublePress(facts);
    std::optional<LaterOutputs> previous;
    if (firstPress) {
        previous = std::exchange(press.later, std::nullopt);
        ChoosePressDefinition(*reading, foreground, ownWindowForeground);
    }
    LoadProperties(tick);
    const PressDefinition& definition = press.definition;
    if (firstPress && (definition.longDefined || definition.doubleDefined)) KeepLaterOutputs(tick);
    AddGestureFacts(facts, tick.properties);
    tick.step = TakeStep(facts, *reading);
    tick.mode = definition.mode;
    if (tick.reading.showProperties) ShowGestureInEditor(tick, ownWindowForeground);
    if (tick.step.releaseDue && (previous || press.later)) {
        ActOnRelease(previous ? *previous : *press.later, *reading, ownWindowForeground);
        if (!previous) press.later.reset();
    }
    // While the user works in the program's own window, buttons are shown but do nothing.
    if (press.later) {
        ActOnGestures(tick, ownWindowForeground);
    } else {
        Act(tick, ownWindowForeground);
    }
}

ButtonEngine::Tick ButtonEngine::ShowButton(const ReceiverReading& reading) {
    Model& model = c_.model;
    Tick tick;
    tick.reading = reading;
    if (reading.showProperties || ShowsEveryTick(c_.receiver.Kind())) {
        const std::string* name = model.map.Lookup(Section::Buttons, MapKey(reading.extendedCode));
        tick.buttonName = name && !name->empty() ? *name : reading.buttonName;
        model.shown.name = tick.buttonName;
    }
    return tick;
}

void ButtonEngine::ShowTrayPicture(bool active) {
    if (clientEventCountdown_ > 0) {
        c_.tray.SetPicture(TrayPicture::ClientEvent);
        --clientEventCountdown_;
    } else {
        c_.tray.SetPicture(active ? TrayPicture::Held : TrayPicture::Idle);
    }
}

void ButtonEngine::NoteForeground(WindowHandle foreground) {
    if (foreground == seenForeground_) return;
    seenForeground_ = foreground;
    if (foreground != kNoWindow && !IsPassingWindow(c_.programWindows, foreground)) lastInFront_ = foreground;
}

PressFacts ButtonEngine::GatherPressFacts(const ReceiverReading& reading) const {
    const PressState& press = c_.model.press;
    PressFacts facts;
    facts.active = reading.active;
    facts.sameAsEnded = reading.active && reading.extendedCode == press.lastExtendedCode;
    // Only a tick that had a button continues a press, so a Compro key 0 after an idle tick
    // (whose code is also 0) is a new press.
    facts.continues = facts.sameAsEnded && press.progress.held;
    facts.before = press.progress;
    return facts;
}

void ButtonEngine::AddGestureFacts(PressFacts& facts, const ButtonProperties& properties) const {
    const Model& model = c_.model;
    const Settings& settings = model.settings;
    const auto gesture = [&](bool defined, const ButtonProperties& p) {
        return GestureFacts{defined, settings.autorepeat && p.repeat, InTicks(p.pace.value_or(settings.RepeatPace()))};
    };
    facts.press = gesture(true, properties);
    facts.longHoldCount = TickCount(settings.longPressTime);
    facts.doubleTicks = TickCount(settings.doublePressTime);
    const std::optional<LaterOutputs>& later = model.press.later;
    if (!later) return;
    const PressDefinition& definition = model.press.definition;
    facts.longPress = gesture(definition.longDefined, later->longPress.properties);
    facts.doublePress = gesture(definition.doubleDefined, later->doublePress.properties);
}

void ButtonEngine::ChoosePressDefinition(const ReceiverReading& reading, WindowHandle foreground,
                                         bool ownWindowForeground) {
    Model& model = c_.model;
    // The program in front is asked once a press, and only when some program has definitions.
    const bool askProgram = !ownWindowForeground && !model.map.Programs().empty();
    const std::string program =
        askProgram ? ProgramInFront(c_.programWindows, foreground, lastInFront_).name : std::string();
    PressDefinition& definition = model.press.definition;
    definition = ChooseDefinition(model.map, {program, MapKey(reading.extendedCode), model.mode});
    // A press the receiver gives no properties for has no long or double press either.
    definition.longDefined = definition.longDefined && reading.showProperties;
    definition.doubleDefined = definition.doubleDefined && reading.showProperties;
    if (!ownWindowForeground) TellIfKeysCannotReach(foreground);
}

// Windows drops the keys and mouse actions sent to a program with higher rights without a
// word: the user is told once while that program stays in front.
void ButtonEngine::TellIfKeysCannotReach(WindowHandle foreground) {
    if (foreground == rightsWindow_) return;
    rightsWindow_ = foreground;
    const std::uint32_t process = foreground == kNoWindow ? 0 : c_.programWindows.Facts(foreground).processId;
    if (process == rightsProcess_) return;
    rightsProcess_ = process;
    if (process == 0 || !c_.programWindows.RunsWithHigherRights(process)) return;
    std::string name(SplitPath(c_.programWindows.ProcessImagePath(process)).fileName);
    if (name.empty()) name = "the program in front";
    const std::string text = "Keys cannot reach " + name + ", which runs as administrator";
    c_.log.Write(text);
    c_.model.ShowStatus(text);
}

void ButtonEngine::LoadProperties(Tick& tick) {
    Model& model = c_.model;
    // A press the receiver gives no properties for keeps the repeat flag last shown.
    tick.properties.repeat = model.editor.repeat;
    if (!tick.reading.showProperties) return;
    const EditorButton edited = model.editor;
    model.editor.rcCode = tick.reading.rcCode;
    model.editor.extendedCode = tick.reading.extendedCode;
    model.editor.name = tick.buttonName;
    model.editor.gesture = Gesture::Press;
    tick.properties = LoadPressProperties(MapKey(tick.reading.extendedCode));
    NoteDroppedEdits(model, edited);
}

PressStep ButtonEngine::TakeStep(const PressFacts& facts, const ReceiverReading& reading) {
    Model& model = c_.model;
    PressState& press = model.press;
    const PressStep step = ClassifyPress(facts);
    press.progress = step.after;
    if (reading.active) press.lastExtendedCode = reading.extendedCode;
    model.shown.repeatNumber = step.repeatNumber;
    return step;
}

void ButtonEngine::KeepLaterOutputs(const Tick& tick) {
    const ButtonMap& map = c_.model.map;
    PressState& press = c_.model.press;
    const std::string key = MapKey(tick.reading.extendedCode);
    const auto outputs = [&](Gesture gesture) {
        EditorButton unshown;
        const ProgramMap* source = DefiningProgram(map, press.definition, gesture);
        return GestureOutputs{GestureName(map, key, tick.buttonName, gesture),
                              ForPress(LoadButtonProperties(map, GestureKey(key, gesture), unshown, source), press.definition)};
    };
    press.later = LaterOutputs{tick.reading.rcCode,        tick.reading.extendedCode, {tick.buttonName, tick.properties},
                               outputs(Gesture::Long),     outputs(Gesture::Double),  press.definition.mode};
}

// Held long enough, the button shows its long press for the user to teach, or the one that acts;
// pressed twice quickly, its double press.
void ButtonEngine::ShowGestureInEditor(const Tick& tick, bool ownWindowForeground) {
    const PressStep& step = tick.step;
    if (step.longHeld && (ownWindowForeground || step.gesture == Gesture::Long)) {
        ShowGestureInEditor(tick, Gesture::Long);
    } else if (step.gesture == Gesture::Double || (ownWindowForeground && step.after.quickSecond)) {
        ShowGestureInEditor(tick, Gesture::Double);
    }
}

void ButtonEngine::ShowGestureInEditor(const Tick& tick, Gesture gesture) {
    Model& model = c_.model;
    const std::string key = MapKey(tick.reading.extendedCode);
    const std::string gestureKey = GestureKey(key, gesture);
    model.editor.name = GestureName(model.map, key, tick.buttonName, gesture);
    model.editor.gesture = gesture;
    const ProgramMap* source = nullptr;
    LoadEditorButton(model.map, model.editorProgram, gestureKey, model.editor, source);
    // A gesture taught anew does not repeat until the user says so.
    if (!model.map.Defines(source, gestureKey)) model.editor.repeat = false;
}

void ButtonEngine::Act(const Tick& tick, bool heldBack) {
    Notify(tick);
    if (!heldBack) Dispatch(tick);
}

void ButtonEngine::ActOnGestures(const Tick& tick, bool heldBack) {
    // The button's line goes out as for any press; what acts comes from the gesture the press is.
    const bool lineAllowed = !heldBack && !tick.reading.vendorPriority;
    const bool ownAction = ActionOf(tick.properties.action) != ButtonAction::None || !tick.properties.macro.empty();
    if (tick.step.lineDue && lineAllowed && !ownAction) {
        BroadcastLirc(tick);
    }
    if (!tick.step.outputDue) return;
    const GestureOutputs& outputs = c_.model.press.later->Of(tick.step.gesture);
    Tick fired{tick.reading, outputs.name, outputs.properties, tick.step, tick.mode};
    fired.step.lineDue = false;
    Notify(fired);
    if (!heldBack) Dispatch(fired);
}

void ButtonEngine::ActOnRelease(const LaterOutputs& ended, const ReceiverReading& reading, bool heldBack) {
    const ReceiverReading releasedReading{true, ended.rcCode, ended.extendedCode, true, reading.vendorPriority, {}};
    Tick released{releasedReading, ended.press.name, ended.press.properties, {}, ended.mode};
    released.step.outputDue = released.step.firstOutput = true;
    Act(released, heldBack);
}

void ButtonEngine::Notify(const Tick& tick) {
    if (!tick.step.firstOutput || tick.reading.vendorPriority) return;
    const Model& model = c_.model;
    const Settings& settings = model.settings;
    if (settings.balloonHints && !tick.buttonName.empty()) {
        c_.tray.ShowBalloon("Button pressed",
                            "Name: " + tick.buttonName + "\rCode: " + Hex(tick.reading.extendedCode, 8));
    }
    if (settings.sound) c_.sound.PlayResourceAsync("OK");
    if (settings.osd) {
        c_.osd.ShowOsd(
            ComposePressOsd(tick.buttonName, tick.properties, settings, tick.mode, c_.sleepTimer.IsRunning()),
            settings.osdSecondDisplay);
    }
}

// The editor shows its program's definition, or the global one where that program has none;
// the press acts on the definition chosen when it began.
ButtonProperties ButtonEngine::LoadPressProperties(const std::string& key) {
    Model& model = c_.model;
    const ProgramMap* editorSource = nullptr;
    const ButtonProperties shown = LoadEditorButton(model.map, model.editorProgram, key, model.editor, editorSource);
    const PressDefinition& definition = model.press.definition;
    const ProgramMap* pressSource = DefiningProgram(model.map, definition);
    if (pressSource == editorSource) return ForPress(shown, definition);
    EditorButton unshown;
    return ForPress(LoadButtonProperties(model.map, key, unshown, pressSource), definition);
}

void ButtonEngine::Dispatch(const Tick& tick) {
    if (!tick.properties.macro.empty()) {
        RunMacro(tick);
        return;
    }
    switch (ActionOf(tick.properties.action)) {
        case ButtonAction::Sleep: c_.power.PowerSleep(); return;
        case ButtonAction::Hibernate: c_.power.PowerHibernate(); return;
        case ButtonAction::Shutdown: c_.power.PowerShutdown(); return;
        case ButtonAction::ChangeMode: {
            const EmulationMode next = NextMode(c_.model.mode);
            if (tick.step.firstOutput && next != EmulationMode::None) c_.selectMode(next);
            return;
        }
        case ButtonAction::SleepTimer:
            if (tick.step.firstOutput) c_.sleepTimer.ToggleSleepTimer();
            return;
        case ButtonAction::None: EmulationOutputs(tick);
    }
}

// A macro is the button's own action: it starts with the press, and a held button starts it
// again, as its repeats allow, only once the run before has ended.
void ButtonEngine::RunMacro(const Tick& tick) {
    if (!tick.step.outputDue || tick.reading.vendorPriority) return;
    if (!tick.step.firstOutput && !c_.macros.Idle()) return;
    const std::string name = tick.buttonName.empty() ? MapKey(tick.reading.extendedCode) : tick.buttonName;
    ParsedMacro parsed = ParseMacro(tick.properties.macro);
    if (parsed.fault) {
        c_.log.Write("The macro of " + name + " is refused at " + MacroFaultText(*parsed.fault));
        return;
    }
    c_.macros.Run(std::move(parsed.macro), name);
}

void ButtonEngine::EmulationOutputs(const Tick& tick) {
    const Model& model = c_.model;
    const ReceiverReading& reading = tick.reading;
    const PressStep& step = tick.step;
    if (reading.vendorPriority || !(step.outputDue || step.lineDue)) return;

    const ButtonProperties& p = tick.properties;
    const EmulationMode mode = tick.mode;
    // A value of 0 sends no key but still lets the pending window messages run.
    if (step.outputDue && (mode == EmulationMode::Keys || (p.mouseAction == 0 && p.messageNumber == 0))) {
        SendKeyCodeValue(c_.input, p.keyCodeValue, model.settings.scanCodes ? KeyStyle::ScanCodes : KeyStyle::Classic);
    }
    if (step.outputDue && (mode == EmulationMode::Mouse || (p.keyCodeValue == 0 && p.messageNumber == 0))) {
        PerformMouseAction(c_.input, p.mouseAction, step.mouseStep);
    }
    const bool messageMode = mode == EmulationMode::Messages || (p.keyCodeValue == 0 && p.mouseAction == 0);
    if (step.outputDue && p.messageNumber != 0 && messageMode) SendAppCommand(c_.windows, p.messageNumber);
    // Lines are not paced: they follow the press and its repeats whatever the button's pace.
    BroadcastLirc(tick);
    if (!step.outputDue) return;
    if (c_.receiver.ComproLibraryPresent() && model.settings.comproDtv) NotifyComproDtv(c_.windows, reading.rcCode);
    if (!p.applicationPath.empty()) LaunchProgram(c_.processes, p.applicationPath);
}

void ButtonEngine::BroadcastLirc(const Tick& tick) {
    Model& model = c_.model;
    const auto showClients = [&](std::optional<std::size_t> clients) {
        if (model.listener.clients == clients) return;
        model.listener.clients = clients;
        model.Changed(Aspect::Listener);
    };
    if (tick.mode != EmulationMode::WinLIRC) {
        showClients(c_.lirc.IsActive() ? std::optional(c_.lirc.ClientCount()) : std::nullopt);
        return;
    }
    if (!c_.lirc.IsActive()) {
        showClients(std::nullopt);
        return;
    }
    if (!tick.step.lineDue) return;
    // LIRC clients split a line at its blanks, so every field has a word: an unnamed button goes by its key.
    const std::uint32_t code = tick.reading.extendedCode;
    const std::string line = FormatLircLine(code, tick.step.repeatNumber,
                                            tick.buttonName.empty() ? MapKey(code) : tick.buttonName,
                                            model.map.RemoteName());
    showClients(c_.lirc.Broadcast(line));
}

}  // namespace quorvel
