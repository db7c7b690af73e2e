#pragma once

#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "fakes/FakeLibraries.h"
#include "platform/PowerSystem.h"

namespace quorvel {

// What the stand-in powrprof.dll answers and what it was asked. Exports are plain
// functions, so their state is one object that each test resets.
struct FakePowrprofState {
    struct SuspendCall {
        std::uint32_t hibernate;
        std::uint32_t forceCritical;
        std::uint32_t disableWakeEvent;
        friend bool operator==(const SuspendCall&, const SuspendCall&) = default;
    };
    bool suspendAllowed = true;
    bool hibernateAllowed = true;
    bool shutdownAllowed = true;
    std::uint8_t suspendResult = 1;
    std::function<void()> whileSuspending;  // runs inside SetSuspendState, e.g. to look at the tick
    std::vector<SuspendCall> suspends;
    std::vector<std::string> queries;

    static FakePowrprofState& Get() {
        static FakePowrprofState state;
        return state;
    }
    static void Reset() { Get() = FakePowrprofState{}; }
};

namespace fake_powrprof {

inline std::uint8_t QUORVEL_WINAPI SetSuspendState(std::uint32_t hibernate, std::uint32_t forceCritical,
                                                   std::uint32_t disableWakeEvent) {
    FakePowrprofState& state = FakePowrprofState::Get();
    state.suspends.push_back({hibernate, forceCritical, disableWakeEvent});
    if (state.whileSuspending) state.whileSuspending();
    return state.suspendResult;
}
inline std::uint8_t QUORVEL_WINAPI IsPwrSuspendAllowed() {
    FakePowrprofState::Get().queries.push_back("IsPwrSuspendAllowed");
    return FakePowrprofState::Get().suspendAllowed ? 1 : 0;
}
inline std::uint8_t QUORVEL_WINAPI IsPwrHibernateAllowed() {
    FakePowrprofState::Get().queries.push_back("IsPwrHibernateAllowed");
    return FakePowrprofState::Get().hibernateAllowed ? 1 : 0;
}
inline std::uint8_t QUORVEL_WINAPI IsPwrShutdownAllowed() {
    FakePowrprofState::Get().queries.push_back("IsPwrShutdownAllowed");
    return FakePowrprofState::Get().shutdownAllowed ? 1 : 0;
}

}  // namespace fake_powrprof

inline void AddFakePowrprof(FakeLibraries& libraries) {
    libraries.Add("powrprof.dll",
                  {{"SetSuspendState", reinterpret_cast<void*>(&fake_powrprof::SetSuspendState)},
                   {"IsPwrSuspendAllowed", reinterpret_cast<void*>(&fake_powrprof::IsPwrSuspendAllowed)},
                   {"IsPwrHibernateAllowed", reinterpret_cast<void*>(&fake_powrprof::IsPwrHibernateAllowed)},
                   {"IsPwrShutdownAllowed", reinterpret_cast<void*>(&fake_powrprof::IsPwrShutdownAllowed)}});
}

// The process token and the session end. Only "SeShutdownPrivilege" is known, a token works
// until it is closed, and every step can be made to fail. Calls are logged in order.
class FakePowerSystem final : public PowerSystem {
public:
    static constexpr Luid kShutdownLuid{19, 0};
    static constexpr std::uint32_t kErrorInvalidHandle = 6;

    std::vector<std::string> calls;
    bool openTokenFails = false;
    std::uint32_t adjustError = 0;  // e.g. 1300, ERROR_NOT_ALL_ASSIGNED

    std::size_t OpenTokens() const { return openTokens_.size(); }

    TokenHandle OpenProcessToken(std::uint32_t desiredAccess) override {
        calls.push_back("OpenProcessToken(" + HexText(desiredAccess) + ")");
        if (openTokenFails) return kNoToken;
        openTokens_.insert(nextToken_);
        return TokenHandle{nextToken_++};
    }
    std::optional<Luid> LookupPrivilege(const std::string& privilegeName) override {
        calls.push_back("LookupPrivilegeValue(" + privilegeName + ")");
        if (privilegeName != "SeShutdownPrivilege") return std::nullopt;
        return kShutdownLuid;
    }
    std::uint32_t AdjustTokenPrivileges(TokenHandle token, Luid privilege, std::uint32_t attributes) override {
        calls.push_back("AdjustTokenPrivileges(" + std::to_string(privilege.lowPart) + "," +
                        std::to_string(attributes) + ")");
        if (!openTokens_.count(static_cast<std::uintptr_t>(token))) return kErrorInvalidHandle;
        return adjustError;
    }
    void CloseToken(TokenHandle token) override {
        calls.push_back("CloseToken");
        openTokens_.erase(static_cast<std::uintptr_t>(token));
    }
    bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) override {
        calls.push_back("ExitWindowsEx(" + HexText(flags) + "," + std::to_string(reason) + ")");
        return true;
    }

private:
    static std::string HexText(std::uint32_t value) {
        char text[16];
        std::snprintf(text, sizeof text, "0x%02X", value);
        return text;
    }

    std::set<std::uintptr_t> openTokens_;
    std::uintptr_t nextToken_ = 0x40;
};

}  // namespace quorvel
