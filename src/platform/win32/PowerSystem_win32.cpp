#include "platform/win32/PowerSystem_win32.h"

#include <windows.h>

namespace quorvel {
namespace {

HANDLE ToHandle(TokenHandle token) {
    return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(token));
}

}  // namespace

TokenHandle Win32PowerSystem::OpenProcessToken(std::uint32_t desiredAccess) {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(GetCurrentProcess(), desiredAccess, &token)) return kNoToken;
    return TokenHandle{reinterpret_cast<std::uintptr_t>(token)};
}

std::optional<Luid> Win32PowerSystem::LookupPrivilege(const std::string& privilegeName) {
    LUID luid{};
    if (!LookupPrivilegeValueA(nullptr, privilegeName.c_str(), &luid)) return std::nullopt;
    return Luid{luid.LowPart, luid.HighPart};
}

std::uint32_t Win32PowerSystem::AdjustTokenPrivileges(TokenHandle token, Luid privilege, std::uint32_t attributes) {
    TOKEN_PRIVILEGES newState{};
    newState.PrivilegeCount = 1;
    newState.Privileges[0].Luid.LowPart = privilege.lowPart;
    newState.Privileges[0].Luid.HighPart = privilege.highPart;
    newState.Privileges[0].Attributes = attributes;
    TOKEN_PRIVILEGES previousState{};
    DWORD returnLength = 0;
    ::AdjustTokenPrivileges(ToHandle(token), FALSE, &newState, sizeof previousState, &previousState, &returnLength);
    // Success with some privilege not granted is reported only through the last error.
    return GetLastError();
}

void Win32PowerSystem::CloseToken(TokenHandle token) {
    CloseHandle(ToHandle(token));
}

bool Win32PowerSystem::ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) {
    return ::ExitWindowsEx(flags, reason) != FALSE;
}

}  // namespace quorvel
