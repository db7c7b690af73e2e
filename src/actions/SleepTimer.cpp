#include "actions/SleepTimer.h"

#include <algorithm>

#include "model/ButtonAction.h"
#include "model/Model.h"
#include "osd/OsdRequests.h"
#include "platform/Input.h"
#include "platform/Timer.h"

namespace quorvel {
namespace {

constexpr std::uint32_t kMinuteMs = 60000;

// "SleepTime" is edited only in the registry. A length below one minute would count past 0
// and never act, so such a timer runs for one minute.
std::int32_t CountdownMinutes(const Settings& settings) {
    return std::max(settings.sleepTime, std::int32_t{1});
}

std::string MinutesText(std::int32_t minutes) {
    return std::to_string(minutes) + " min";
}

}  // namespace

std::string SleepTimerOsdLine(const Settings& settings, bool running) {
    return running ? "Sleep Timer Off" : "Sleep Timer On - " + MinutesText(CountdownMinutes(settings));
}

bool SleepTimer::IsRunning() const {
    return c_.offTimer.IsRunning();
}

void SleepTimer::ToggleSleepTimer() {
    if (IsRunning()) {
        Stop();
    } else {
        minutesLeft_ = CountdownMinutes(c_.model.settings);
        ShowStatus("Sleep Timer On", MinutesText(minutesLeft_));
        c_.offTimer.Start(kMinuteMs);
    }
    c_.input.PumpMessages();
}

void SleepTimer::CancelSleepTimer() {
    if (!IsRunning()) return;
    Stop();
    c_.input.PumpMessages();
}

void SleepTimer::OffTimerTimer() {
    if (!IsRunning()) return;
    --minutesLeft_;
    const std::string text = MinutesText(minutesLeft_);
    c_.model.status[1] = text;
    c_.model.Changed(Aspect::Status);
    const Settings& settings = c_.model.settings;
    if (settings.sleepOsd) c_.osd.ShowOsd(text, settings.osdSecondDisplay);
    c_.input.PumpMessages();

    // The messages just processed may have switched the timer off (a press, a resume): the
    // user then no longer wants the action.
    if (minutesLeft_ > 0 || !IsRunning()) return;
    Stop();
    switch (static_cast<ButtonAction>(c_.model.settings.sleepAction)) {
        case ButtonAction::Sleep: c_.power.PowerSleep(); break;
        case ButtonAction::Hibernate: c_.power.PowerHibernate(); break;
        case ButtonAction::Shutdown: c_.power.PowerShutdown(); break;
        default: break;
    }
}

void SleepTimer::Stop() {
    ShowStatus("Sleep Timer Off", "");
    c_.offTimer.Stop();
}

void SleepTimer::ShowStatus(const std::string& event, const std::string& minutes) {
    c_.model.status = {event, minutes};
    c_.model.Changed(Aspect::Status);
}

}  // namespace quorvel
