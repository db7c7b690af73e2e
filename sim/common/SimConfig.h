#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace quorvel::sim {

// Start-up settings of a substitute library, from QuorvelSim.ini beside it: section [Sim]
// for every library, where a section named after the library (e.g. [RemoteSdk]) may override
// single keys, so libraries sharing a folder can listen on different control ports.
struct SimConfig {
    std::uint32_t cardCount = 1;
    std::vector<std::string> cardNames;  // one per card
    bool allOpenCardsFail = false;
    std::set<std::uint32_t> failingCards;
    bool deviceNumFails = false;
    std::uint32_t deviceCount = 1;
    std::uint16_t controlPort = 0;

    bool OpenCardFails(std::uint32_t index) const;
};

using ConfigLookup = std::function<std::optional<std::string>(const std::string& key)>;

// Absent or unreadable values take their defaults.
SimConfig ParseSimConfig(const ConfigLookup& lookup, std::uint16_t defaultPort);
SimConfig LoadSimConfig(const std::string& iniPath, const std::string& libraryName, std::uint16_t defaultPort);

}  // namespace quorvel::sim
