#include "lirc/LircPort.h"

#include "core/Text.h"

namespace quorvel {

std::optional<std::uint16_t> ParsePort(std::string_view text) {
    text = TrimBlanks(text);
    if (text.empty()) return std::nullopt;
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
