#include "engine/ButtonEngine.h"

#include <algorithm>

#include "actions/AppCommand.h"
#include "actions/Keyboard.h"
#include "actions/Mouse.h"
#include "actions/PowerActions.h"
#include "actions/ProgramLauncher.h"
#include "engine/ButtonEditor.h"
#include "engine/ButtonMap.h"
#include "engine/EmulationMode.h"
#include "engine/PressOsd.h"
#include "engine/Text.h"
#include "lirc/LircBroadcaster.h"
#include "lirc/LircLine.h"
#include "osd/OsdRequests.h"
#include "platform/Sound.h"
#include "platform/WindowSystem.h"
#include "receivers/VendorApps.h"
#include "receivers/ReceiverReading.h"
#include "settings/ProgramSettings.h"
#include "ui/Form.h"
#include "ui/TrayIcon.h"

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

void ButtonEngine::MainTTimer() {
    // Outputs pump the message queue, which may deliver the next timer message early.
    if (inTick_) return;
    inTick_ = true;
    struct Leave {
        bool& flag;
        ~Leave() { flag = false; }
    } leave{inTick_};

    Form& form = c_.form;
    const bool ownWindowForeground = c_.windows.IsOwnForm(c_.windows.GetForegroundWindow());

    const std::optional<ReceiverReading> reading = c_.receiver.ReadReceiver();
    if (!reading) return;

    Tick tick;
    tick.reading = *reading;
    const std::string key = MapKey(reading->extendedCode);
    if (reading->showProperties) {
        form.SetText(TextControl::NameRCCodeST, Hex(reading->rcCode, 2));
        form.SetText(TextControl::NameRCCodeExST, Hex(reading->extendedCode, 8));
    }
    if (reading->showProperties || c_.receiver.Kind() == ReceiverKind::Beholder) {
        const std::string* name = c_.map.Lookup(Section::Buttons, key);
        tick.buttonName = name ? *name : std::string();
        form.SetText(TextControl::NameST, tick.buttonName);
    }
    if (reading->showProperties) {
        form.SetText(TextControl::NameE, tick.buttonName);
        tick.properties = LoadButtonProperties(c_.map, key, form);
    }

    const bool wasActive = previousActive_;
    if (reading->active != previousActive_) form.SetIndicatorImage(reading->active ? 1 : 2);
    previousActive_ = reading->active;

    if (clientEventCountdown_ > 0) {
        c_.tray.SetPicture(3);
        --clientEventCountdown_;
    } else {
        c_.tray.SetPicture(reading->active ? 1 : 2);
    }

    PressState& press = c_.press;
    // Only a tick that had a button continues a press, so a Compro key 0 after an idle tick
    // (whose code is also 0) is a new press.
    const bool continues = reading->active && wasActive && reading->extendedCode == press.lastExtendedCode;
    press.holdCount = continues ? press.holdCount + 1 : 0;
    tick.holdCount = press.holdCount;
    tick.newPress = reading->active && press.holdCount == 0;
    const bool notify = tick.newPress && !reading->vendorPriority;

    if (notify && form.IsChecked(CheckControl::BHCB) && !tick.buttonName.empty()) {
        c_.tray.ShowBalloon("Button pressed",
                            "Name: " + tick.buttonName + "\rCode: " + Hex(reading->extendedCode, 8));
    }
    if (notify && form.IsChecked(CheckControl::SoundCB)) c_.sound.PlayResourceAsync("OK");

    form.SetText(TextControl::RepeatCountL, Hex(RepeatNumber(press.holdCount), 2));
    press.lastExtendedCode = reading->extendedCode;

    if (notify && form.IsChecked(CheckControl::OSDCB)) {
        c_.osd.ShowOsd(ComposePressOsd(tick.buttonName, tick.properties, form, c_.settings, c_.sleepTimer.IsRunning()),
                       form.IsChecked(CheckControl::OSD2CB));
    }

    // While the user works in the program's own window, buttons are shown but do nothing.
    if (ownWindowForeground) return;
    Dispatch(tick);
}

void ButtonEngine::Dispatch(const Tick& tick) {
    switch (tick.properties.action) {
        case kSleep: c_.power.PowerSleep(); return;
        case kHibernate: c_.power.PowerHibernate(); return;
        case kShutdown: c_.power.PowerShutdown(); return;
        case kChangeMode: {
            const EmulationMode next = NextMode(CurrentMode(c_.form));
            if (tick.newPress && next != EmulationMode::None) c_.form.ClickRadio(ModeRadio(next));
            return;
        }
        case kSleepTimer:
            if (tick.newPress) c_.sleepTimer.ToggleSleepTimer();
            return;
        default: EmulationOutputs(tick);
    }
}

void ButtonEngine::EmulationOutputs(const Tick& tick) {
    Form& form = c_.form;
    const ReceiverReading& reading = tick.reading;
    const bool repeatAllowed =
        form.IsChecked(CheckControl::AutorepeatCB) && form.IsChecked(CheckControl::KeyRepeatCB);
    if (reading.vendorPriority || !reading.active) return;
    if (!tick.newPress && !(tick.holdCount > 8 && repeatAllowed)) return;

    const ButtonProperties& p = tick.properties;
    // A value of 0 sends no key but still lets the pending window messages run.
    if (CurrentMode(form) == EmulationMode::Keys || (p.mouseAction == 0 && p.messageNumber == 0)) {
        SendKeyCodeValue(c_.input, p.keyCodeValue);
    }
    if (CurrentMode(form) == EmulationMode::Mouse || (p.keyCodeValue == 0 && p.messageNumber == 0)) {
        PerformMouseAction(c_.input, p.mouseAction, tick.newPress ? 1 : std::min(tick.holdCount, kMaxMouseStep));
    }
    if (p.messageNumber != 0 &&
        (CurrentMode(form) == EmulationMode::Messages || (p.keyCodeValue == 0 && p.mouseAction == 0))) {
        SendAppCommand(c_.windows, p.messageNumber);
    }
    BroadcastLirc(tick, repeatAllowed);
    if (c_.receiver.ComproLibraryPresent() && form.IsChecked(CheckControl::ComproDTVCB)) {
        NotifyComproDtv(c_.windows, reading.rcCode);
    }
    if (!p.applicationPath.empty()) LaunchProgram(c_.processes, p.applicationPath);
}

void ButtonEngine::BroadcastLirc(const Tick& tick, bool repeatAllowed) {
    Form& form = c_.form;
    if (CurrentMode(form) != EmulationMode::WinLIRC) {
        form.SetText(TextControl::LIRCServerClientsL,
                     c_.lirc.IsActive() ? std::to_string(c_.lirc.ClientCount()) : std::string("..."));
        return;
    }
    if (!c_.lirc.IsActive()) {
        form.SetText(TextControl::LIRCServerClientsL, "...");
        return;
    }
    // Repeat lines go out every second tick from hold count 10, so none carries 01.
    const bool lineDue =
        tick.holdCount == 0 || (tick.holdCount >= 8 && (tick.holdCount - 8) % 2 == 0 && repeatAllowed);
    if (!lineDue) return;
    const std::string line = FormatLircLine(tick.reading.extendedCode, RepeatNumber(tick.holdCount),
                                            tick.buttonName, c_.map.RemoteName());
    form.SetText(TextControl::LIRCServerClientsL, std::to_string(c_.lirc.Broadcast(line)));
}

}  // namespace quorvel
