#pragma once

namespace quorvel {

// The power actions a button or the sleep timer asks for.
class PowerActions {
public:
    virtual ~PowerActions() = default;
    virtual void PowerSleep() = 0;
    virtual void PowerHibernate() = 0;
    virtual void PowerShutdown() = 0;
};

// The sleep timer as the tick sees it.
class SleepTimerSwitch {
public:
    virtual ~SleepTimerSwitch() = default;
    virtual bool IsRunning() const = 0;
    virtual void ToggleSleepTimer() = 0;
};

}  // namespace quorvel
