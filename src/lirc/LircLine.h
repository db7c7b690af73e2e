#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quorvel {

// One WinLIRC line: 16 hex digits of the code, the repeat number, the button and remote names.
std::string FormatLircLine(std::uint32_t extendedCode, std::uint8_t repeat, std::string_view buttonName,
                           std::string_view remoteName);

}  // namespace quorvel
