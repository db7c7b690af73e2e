#include "receivers/ServerAddress.h"

#include <algorithm>
#include <cctype>

#include "core/Text.h"
#include "lirc/LircPort.h"

namespace quorvel {
namespace {

bool IsHostCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.' || c == '_';
}

bool IsIpv6Character(char c) {
    // Hexadecimal groups, an IPv4 tail, and a zone after % (fe80::1%eth0).
    return std::isalnum(static_cast<unsigned char>(c)) || c == ':' || c == '.' || c == '%';
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    return lower;
}

}  // namespace

std::optional<ServerAddress> ParseServerAddress(std::string_view text) {
    text = TrimBlanks(text);
    std::string_view host;
    std::string_view port;
    if (!text.empty() && text.front() == '[') {
        // The brackets keep the colons of an IPv6 address apart from the port's.
        const std::size_t close = text.find(']');
        if (close == std::string_view::npos || close + 1 >= text.size() || text[close + 1] != ':') return std::nullopt;
        host = text.substr(1, close - 1);
        port = text.substr(close + 2);
        if (host.find(':') == std::string_view::npos || !std::all_of(host.begin(), host.end(), IsIpv6Character)) {
            return std::nullopt;
        }
    } else {
        const std::size_t colon = text.rfind(':');
        if (colon == std::string_view::npos) return std::nullopt;
        host = text.substr(0, colon);
        port = text.substr(colon + 1);
        if (!std::all_of(host.begin(), host.end(), IsHostCharacter)) return std::nullopt;
    }
    // The port must be the last thing: no blanks inside the address.
    if (host.empty() || port.empty() || port.find_first_of(kBlanks) != std::string_view::npos) return std::nullopt;
    const std::optional<std::uint16_t> number = ParsePort(port);
    if (!number) return std::nullopt;
    return ServerAddress{std::string(host), *number};
}

bool NamesLoopback(std::string_view host) {
    const std::string lower = Lower(host);
    if (lower == "localhost" || lower == "::1" || lower == "0:0:0:0:0:0:0:1") return true;
    // 127.0.0.0/8, written as four decimal numbers.
    if (lower.rfind("127.", 0) != 0) return false;
    int dots = 0;
    for (const char c : lower) {
        if (c == '.') {
            ++dots;
        } else if (!std::isdigit(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return dots == 3;
}

bool IsLoopback(const SocketAddress& address) {
    const auto& bytes = address.bytes;
    if (!address.ipv6) return bytes[0] == 127;
    const bool zeros = std::all_of(bytes.begin(), bytes.begin() + 10, [](std::uint8_t b) { return b == 0; });
    if (!zeros) return false;
    if (bytes[10] == 0xFF && bytes[11] == 0xFF) return bytes[12] == 127;
    return std::all_of(bytes.begin() + 10, bytes.end() - 1, [](std::uint8_t b) { return b == 0; }) && bytes[15] == 1;
}

}  // namespace quorvel
