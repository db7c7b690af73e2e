#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace quorvel::sim {

using ControlHandler = std::function<std::string(const std::string& line)>;

// Listens on 127.0.0.1:port for the rest of the process's life: one thread serves every
// connection, each line answered with the handler's reply line. False when the port cannot be
// taken.
bool StartControlServer(std::uint16_t port, ControlHandler handler);

}  // namespace quorvel::sim
