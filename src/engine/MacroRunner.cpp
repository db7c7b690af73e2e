#include "engine/MacroRunner.h"

#include <algorithm>
#include <utility>

#include "actions/AppCommand.h"
#include "actions/Keyboard.h"
#include "actions/Mouse.h"
#include "actions/PowerActions.h"
#include "actions/ProgramLauncher.h"
#include "model/Model.h"
#include "platform/CodePage.h"
#include "platform/Log.h"
#include "platform/Timer.h"

namespace quorvel {

void MacroRunner::Run(Macro macro, const std::string& button) {
    if (!running_) {
        running_ = std::move(macro);
        next_ = 0;
        Continue();
    } else if (!waiting_) {
        waiting_ = std::move(macro);
    } else {
        c_.log.Write("The macro of " + button + " was dropped: one macro runs and another waits");
    }
}

void MacroRunner::OnTimer() {
    c_.timer.Stop();
    Continue();
}

void MacroRunner::Stop() {
    c_.timer.Stop();
    running_.reset();
    waiting_.reset();
    ReleaseHeld();
}

void MacroRunner::Continue() {
    // A step lets window messages run, and the timer's may come among them.
    if (performing_ || c_.timer.IsRunning()) return;
    performing_ = true;
    while (running_) {
        if (next_ == running_->steps.size()) {
            ReleaseHeld();
            running_ = std::exchange(waiting_, std::nullopt);
            next_ = 0;
            continue;
        }
        // A copy: "Exit" may stop the macro while the step runs.
        const MacroStep step = running_->steps[next_++];
        if (step.kind == MacroStep::Kind::Wait) {
            c_.timer.Start(step.number);
            break;
        }
        Perform(step);
    }
    performing_ = false;
}

void MacroRunner::Perform(const MacroStep& step) {
    const KeyStyle style = c_.model.settings.scanCodes ? KeyStyle::ScanCodes : KeyStyle::Classic;
    switch (step.kind) {
        case MacroStep::Kind::Keys: SendKeyCodeValue(c_.input, step.keyCodeValue, style); return;
        case MacroStep::Kind::Hold:
            PressKeyCodeValue(c_.input, step.keyCodeValue, style);
            held_.push_back(step.keyCodeValue);
            return;
        case MacroStep::Kind::Release: {
            ReleaseKeyCodeValue(c_.input, step.keyCodeValue, style);
            const auto held = std::find(held_.begin(), held_.end(), step.keyCodeValue);
            if (held != held_.end()) held_.erase(held);
            return;
        }
        case MacroStep::Kind::Type:
            TypeText(c_.input, TypedCharacters(step.text, [&](std::string_view ansi) { return c_.codePage.FromAnsi(ansi); }));
            return;
        case MacroStep::Kind::Wait: return;
        case MacroStep::Kind::Mouse: PerformMouseAction(c_.input, static_cast<std::uint8_t>(step.number), 1); return;
        case MacroStep::Kind::Command: SendAppCommand(c_.windows, static_cast<std::uint8_t>(step.number)); return;
        case MacroStep::Kind::Run: LaunchProgram(c_.processes, step.text, step.arguments); return;
        case MacroStep::Kind::Mode: c_.selectMode(static_cast<EmulationMode>(step.number)); return;
        case MacroStep::Kind::Action:
            switch (ActionOf(static_cast<std::uint8_t>(step.number))) {
                case ButtonAction::Sleep: c_.power.PowerSleep(); return;
                case ButtonAction::Hibernate: c_.power.PowerHibernate(); return;
                case ButtonAction::Shutdown: c_.power.PowerShutdown(); return;
                case ButtonAction::SleepTimer: c_.sleepTimer.ToggleSleepTimer(); return;
                case ButtonAction::ChangeMode:
                    if (NextMode(c_.model.mode) != EmulationMode::None) c_.selectMode(NextMode(c_.model.mode));
                    return;
                case ButtonAction::None: return;
            }
    }
}

void MacroRunner::ReleaseHeld() {
    const KeyStyle style = c_.model.settings.scanCodes ? KeyStyle::ScanCodes : KeyStyle::Classic;
    while (!held_.empty()) {
        const std::uint16_t keys = held_.back();
        held_.pop_back();
        ReleaseKeyCodeValue(c_.input, keys, style);
    }
}

}  // namespace quorvel
