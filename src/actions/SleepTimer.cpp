#include "actions/SleepTimer.h"

#include <algorithm>

#include "osd/OsdRequests.h"
#include "platform/Input.h"
#include "platform/Timer.h"
#include "settings/ProgramSettings.h"
#include "ui/Form.h"

namespace quorvel {
namespace {

constexpr std::uint32_t kMinuteMs = 60000;

enum SleepAction : std::uint8_t { kSleep = 1, kHibernate = 2, kShutdown = 3 };

// "SleepTime" is edited only in the registry. A length below one minute would count past 0
// and never act, so such a timer runs for one minute.
std::int32_t CountdownMinutes(const ProgramSettings& settings) {
    return std::max(settings.sleepTime, std::int32_t{1});
}

std::string MinutesText(std::int32_t minutes) {
    return std::to_string(minutes) + " min";
}

}  // namespace

std::string SleepTimerOsdLine(const ProgramSettings& settings, bool running) {
    return running ? "Sleep Timer Off" : "Sleep Timer On - " + MinutesText(CountdownMinutes(settings));
}

bool SleepTimer::IsRunning() const {
    return c_.offTimer.IsRunning();
}

void SleepTimer::ToggleSleepTimer() {
    if (IsRunning()) {
        Stop();
    } else {
        c_.form.SetStatusText(0, "Sleep Timer On");
        minutesLeft_ = CountdownMinutes(c_.settings);
        c_.form.SetStatusText(1, MinutesText(minutesLeft_));
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
    c_.form.SetStatusText(1, text);
    if (c_.settings.sleepOsd) c_.osd.ShowOsd(text, c_.form.IsChecked(CheckControl::OSD2CB));
    c_.input.PumpMessages();

    // The messages just processed may have switched the timer off (a press, a resume): the
    // user then no longer wants the action.
    if (minutesLeft_ > 0 || !IsRunning()) return;
    Stop();
    switch (c_.settings.sleepAction) {
        case kSleep: c_.power.PowerSleep(); break;
        case kHibernate: c_.power.PowerHibernate(); break;
        case kShutdown: c_.power.PowerShutdown(); break;
        default: break;
    }
}

void SleepTimer::Stop() {
    c_.form.SetStatusText(0, "Sleep Timer Off");
    c_.form.SetStatusText(1, "");
    c_.offTimer.Stop();
}

}  // namespace quorvel
