#pragma once

#include <string>
#include <vector>

#include "actions/PowerActions.h"

namespace quorvel {

class FakePower final : public PowerActions, public SleepTimerSwitch {
public:
    std::vector<std::string> calls;
    bool timerRunning = false;

    void PowerSleep() override { calls.push_back("Sleep"); }
    void PowerHibernate() override { calls.push_back("Hibernate"); }
    void PowerShutdown() override { calls.push_back("Shutdown"); }
    bool IsRunning() const override { return timerRunning; }
    void ToggleSleepTimer() override {
        calls.push_back("ToggleSleepTimer");
        timerRunning = !timerRunning;
    }
};

}  // namespace quorvel
