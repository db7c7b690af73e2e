#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Sockets.h"

namespace quorvel {

// Where the network receiver connects: a host name or an IPv4 or IPv6 address, and a port.
struct ServerAddress {
    std::string host;  // without the brackets of an IPv6 address
    std::uint16_t port = 0;
    friend bool operator==(const ServerAddress&, const ServerAddress&) = default;
};

// "host:port", "192.168.1.20:8765" or "[::1]:8765", blanks around it allowed; nothing when
// the text is not of that form or the port is not 1 to 65535.
std::optional<ServerAddress> ParseServerAddress(std::string_view text);

// "localhost", an IPv4 address 127.x.x.x or the IPv6 address ::1, as written.
bool NamesLoopback(std::string_view host);
// 127.0.0.0/8, ::1, or 127.0.0.0/8 mapped into IPv6.
bool IsLoopback(const SocketAddress& address);

}  // namespace quorvel
