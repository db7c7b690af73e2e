#include "lirc/LircPort.h"

namespace quorvel {

std::optional<std::uint16_t> ParsePort(std::string_view text) {
    constexpr std::string_view kBlanks = " \t";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return std::nullopt;
    text = text.substr(first, text.find_last_not_of(kBlanks) - first + 1);

    std::uint32_t port = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        port = port * 10 + static_cast<std::uint32_t>(c - '0');
        if (port > 65535) return std::nullopt;
    }
    if (port == 0) return std::nullopt;
    return static_cast<std::uint16_t>(port);
}

}  // namespace quorvel
