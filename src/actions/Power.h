#pragma once

#include <cstdint>

#include "actions/PowerActions.h"
#include "model/Model.h"
#include "platform/PowerSystem.h"

namespace quorvel {

class Libraries;
class Timer;

struct PowerContext {
    const Settings& settings;
    Libraries& libraries;
    PowerSystem& system;
    Timer& mainT;
};

// Sleep, hibernation and shutdown through powrprof.dll and the shutdown privilege.
class Power final : public PowerActions {
public:
    explicit Power(const PowerContext& context) : c_(context) {}

    // False when powrprof.dll does not load; the actions then do nothing.
    bool LoadPowerLibrary();
    void FreePowerLibrary();

    void PowerSleep() override;
    void PowerHibernate() override;
    void PowerShutdown() override;

private:
    static bool Allowed(PowrprofLibrary::IsAllowedFn query) { return query && query() != 0; }
    void Suspend(bool hibernate, bool forceCritical);
    bool EnableShutdownPrivilege();

    PowerContext c_;
    PowrprofLibrary powrprof_;
};

}  // namespace quorvel
