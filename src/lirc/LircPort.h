#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quorvel {

// The port typed into LIRCServerPortE: decimal digits, 1 to 65535, surrounding blanks ignored.
std::optional<std::uint16_t> ParsePort(std::string_view text);

}  // namespace quorvel
