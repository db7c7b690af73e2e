#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Handles.h"
#include "platform/Libraries.h"
#include "platform/StdCall.h"
#include "platform/UniqueHandle.h"

namespace quorvel {

enum class TokenHandle : std::uintptr_t {};
constexpr TokenHandle kNoToken{};

struct Luid {
    std::uint32_t lowPart = 0;
    std::int32_t highPart = 0;
    friend bool operator==(const Luid&, const Luid&) = default;
};

// The process token's privileges and the end of the Windows session.
class PowerSystem {
public:
    virtual ~PowerSystem() = default;
    // OpenProcessToken of GetCurrentProcess(); kNoToken on failure.
    virtual TokenHandle OpenProcessToken(std::uint32_t desiredAccess) = 0;
    // LookupPrivilegeValueA on the local system.
    virtual std::optional<Luid> LookupPrivilege(const std::string& privilegeName) = 0;
    // AdjustTokenPrivileges with one privilege and a buffer for the previous state; returns
    // GetLastError() as it is right after the call (ERROR_NOT_ALL_ASSIGNED despite success).
    virtual std::uint32_t AdjustTokenPrivileges(TokenHandle token, Luid privilege, std::uint32_t attributes) = 0;
    // CloseHandle of the token.
    virtual void CloseToken(TokenHandle token) = 0;
    virtual bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) = 0;
};

// Owns the opened process token and closes it once.
using UniqueToken = SeamHandle<PowerSystem, TokenHandle, kNoToken, &PowerSystem::CloseToken>;

// powrprof.dll, loaded at run time; an export that did not resolve stays null.
struct PowrprofLibrary {
    // The BOOLEAN arguments are passed as 32-bit values, TRUE as all ones: each takes a full
    // stack slot or register either way, and the callee looks at the low byte only.
    using SetSuspendStateFn = std::uint8_t(QUORVEL_WINAPI*)(std::uint32_t hibernate, std::uint32_t forceCritical,
                                                            std::uint32_t disableWakeEvent);
    using IsAllowedFn = std::uint8_t(QUORVEL_WINAPI*)();

    UniqueModule module;
    SetSuspendStateFn SetSuspendState = nullptr;
    IsAllowedFn IsPwrSuspendAllowed = nullptr;
    IsAllowedFn IsPwrHibernateAllowed = nullptr;
    IsAllowedFn IsPwrShutdownAllowed = nullptr;
};

}  // namespace quorvel
