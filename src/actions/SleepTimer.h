#pragma once

#include <cstdint>
#include <string>

#include "actions/PowerActions.h"

namespace quorvel {

class Input;
class OsdRequests;
class Timer;
struct Model;
struct Settings;

struct SleepTimerContext {
    Model& model;     // the settings, and the status bar that shows the countdown
    Timer& offTimer;  // runs with a one-minute interval while the sleep timer counts down
    Input& input;     // pending window messages are processed after each status change
    OsdRequests& osd;
    PowerActions& power;
};

// The line a "Sleep Timer" press adds to its on-screen text, composed before the press
// switches the timer.
std::string SleepTimerOsdLine(const Settings& settings, bool running);

// Counts down "SleepTime" minutes, then sleeps, hibernates or shuts down.
class SleepTimer final : public SleepTimerSwitch {
public:
    explicit SleepTimer(const SleepTimerContext& context) : c_(context) {}

    bool IsRunning() const override;
    void ToggleSleepTimer() override;
    void OffTimerTimer();
    // Stops a running countdown without its action (the system has just resumed).
    void CancelSleepTimer();

private:
    void Stop();
    void ShowStatus(const std::string& event, const std::string& minutes);

    SleepTimerContext c_;
    std::int32_t minutesLeft_ = 0;
};

}  // namespace quorvel
