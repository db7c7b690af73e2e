#pragma once

#include <string>

#include "platform/SystemInfo.h"

namespace quorvel {

class Win32SystemInfo final : public SystemInfo {
public:
    std::string ExecutablePath() override;
    std::uint32_t FileVersionInfoSize(const std::string& path) override;
    std::optional<std::vector<std::uint8_t>> FileVersionInfo(const std::string& path, std::uint32_t size) override;
    std::optional<std::string> QueryVersionValue(std::vector<std::uint8_t>& block,
                                                 const std::string& subBlock) override;
};

// The full path of the running executable, in UTF-16, so that a folder of any name works.
std::u16string WideExecutablePath();

}  // namespace quorvel
