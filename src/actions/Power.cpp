#include "actions/Power.h"

#include "platform/Libraries.h"
#include "platform/Timer.h"
#include "model/Model.h"

namespace quorvel {
namespace {

constexpr std::uint32_t kTrue = 0xFFFFFFFF;
constexpr std::uint32_t kFalse = 0;

constexpr std::uint32_t kTokenAdjustPrivileges = 0x20;
constexpr std::uint32_t kTokenQuery = 0x08;
constexpr std::uint32_t kPrivilegeEnabled = 2;
constexpr std::uint32_t kErrorSuccess = 0;
constexpr std::uint32_t kExitPowerOff = 0x08;
constexpr std::uint32_t kExitForce = 0x04;

template <typename Fn>
void Resolve(Libraries& libraries, ModuleHandle module, const char* name, Fn& target) {
    target = reinterpret_cast<Fn>(libraries.Resolve(module, name));
}

}  // namespace

bool Power::LoadPowerLibrary() {
    powrprof_.module = UniqueModule(c_.libraries, c_.libraries.Load("powrprof.dll"));
    if (!powrprof_.module) return false;
    Resolve(c_.libraries, powrprof_.module.Get(), "SetSuspendState", powrprof_.SetSuspendState);
    Resolve(c_.libraries, powrprof_.module.Get(), "IsPwrSuspendAllowed", powrprof_.IsPwrSuspendAllowed);
    Resolve(c_.libraries, powrprof_.module.Get(), "IsPwrHibernateAllowed", powrprof_.IsPwrHibernateAllowed);
    Resolve(c_.libraries, powrprof_.module.Get(), "IsPwrShutdownAllowed", powrprof_.IsPwrShutdownAllowed);
    return true;
}

void Power::FreePowerLibrary() {
    powrprof_ = PowrprofLibrary{};
}

void Power::PowerSleep() {
    if (!powrprof_.SetSuspendState || !Allowed(powrprof_.IsPwrSuspendAllowed)) return;
    Suspend(false, c_.settings.forceSuspend);
}

void Power::PowerHibernate() {
    if (!powrprof_.SetSuspendState || !Allowed(powrprof_.IsPwrHibernateAllowed)) return;
    Suspend(true, false);
}

void Power::Suspend(bool hibernate, bool forceCritical) {
    // Polling stops before the system goes down; the resume notification starts it again.
    c_.mainT.Stop();
    const bool suspended =
        powrprof_.SetSuspendState(hibernate ? kTrue : kFalse, forceCritical ? kTrue : kFalse, kFalse) != 0;
    // A refused suspend brings no resume notification, so polling would never come back.
    if (!suspended) c_.mainT.Start(kTickMs);
}

void Power::PowerShutdown() {
    if (!Allowed(powrprof_.IsPwrShutdownAllowed) || !EnableShutdownPrivilege()) return;
    const bool force = c_.settings.forceShutdown;
    c_.system.ExitWindowsEx(force ? kExitPowerOff | kExitForce : kExitPowerOff, 0);
}

bool Power::EnableShutdownPrivilege() {
    // A held shutdown button asks on every tick: the token must not leak each time.
    const UniqueToken token(c_.system, c_.system.OpenProcessToken(kTokenAdjustPrivileges | kTokenQuery));
    if (!token) return false;
    const std::optional<Luid> privilege = c_.system.LookupPrivilege("SeShutdownPrivilege");
    return privilege && c_.system.AdjustTokenPrivileges(token.Get(), *privilege, kPrivilegeEnabled) == kErrorSuccess;
}

}  // namespace quorvel
