#pragma once

#include "platform/PowerSystem.h"

namespace quorvel {

class Win32PowerSystem final : public PowerSystem {
public:
    TokenHandle OpenProcessToken(std::uint32_t desiredAccess) override;
    std::optional<Luid> LookupPrivilege(const std::string& privilegeName) override;
    std::uint32_t AdjustTokenPrivileges(TokenHandle token, Luid privilege, std::uint32_t attributes) override;
    void CloseToken(TokenHandle token) override;
    bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) override;
};

}  // namespace quorvel
