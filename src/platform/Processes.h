#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quorvel {

struct ProcessLaunch {
    std::string commandLine;
    std::optional<std::string> workingDirectory;  // absent: the new process inherits ours
    std::uint32_t creationFlags = 0;
    std::uint32_t startupFlags = 0;
    std::uint16_t showWindow = 0;
};

// CreateProcessA; the program keeps no handle to the new process.
class Processes {
public:
    virtual ~Processes() = default;
    virtual bool StartProcess(const ProcessLaunch& launch) = 0;
};

}  // namespace quorvel
