#include "SimConfig.h"

#include <windows.h>

#include <algorithm>
#include <charconv>
#include <limits>

namespace quorvel::sim {

namespace {

constexpr std::uint32_t kMaxNamedCards = 64;
constexpr const char* kDefaultCardName = "Sim Beholder Card";

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<std::uint32_t> ParseNumber(const std::string& text) {
    const std::string trimmed = Trim(text);
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
    if (error != std::errc() || end != trimmed.data() + trimmed.size() || trimmed.empty()) {
        return std::nullopt;
    }
    return value;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos) {
            return parts;
        }
        start = end + 1;
    }
}

std::uint32_t NumberOr(const ConfigLookup& lookup, const std::string& key, std::uint32_t fallback) {
    const std::optional<std::string> text = lookup(key);
    if (!text) {
        return fallback;
    }
    return ParseNumber(*text).value_or(fallback);
}

std::vector<std::string> CardNames(const std::optional<std::string>& configured, std::uint32_t count) {
    std::vector<std::string> names = configured ? Split(*configured, '|') : std::vector<std::string>{kDefaultCardName};
    names.resize(count);
    for (std::uint32_t index = 0; index < count; ++index) {
        if (names[index].empty()) {
            names[index] = std::string(kDefaultCardName) + " " + std::to_string(index + 1);
        }
    }
    return names;
}

}  // namespace

bool SimConfig::OpenCardFails(std::uint32_t index) const {
    return allOpenCardsFail || failingCards.count(index) != 0;
}

SimConfig ParseSimConfig(const ConfigLookup& lookup, std::uint16_t defaultPort) {
    SimConfig config;
    // Any count is reported, as a broken library might; names exist for the first cards only.
    config.cardCount = NumberOr(lookup, "CardCount", 1);
    config.cardNames = CardNames(lookup("CardNames"), std::min(config.cardCount, kMaxNamedCards));
    if (const std::optional<std::string> fails = lookup("OpenCardFails")) {
        if (Trim(*fails) == "all") {
            config.allOpenCardsFail = true;
        } else {
            for (const std::string& part : Split(*fails, ',')) {
                if (const std::optional<std::uint32_t> index = ParseNumber(part)) {
                    config.failingCards.insert(*index);
                }
            }
        }
    }
    config.deviceNumFails = NumberOr(lookup, "DeviceNumFails", 0) != 0;
    config.deviceCount = NumberOr(lookup, "DeviceCount", 1);
    const std::uint32_t port = NumberOr(lookup, "ControlPort", defaultPort);
    config.controlPort = port > 0 && port <= std::numeric_limits<std::uint16_t>::max()
                             ? static_cast<std::uint16_t>(port)
                             : defaultPort;
    return config;
}

SimConfig LoadSimConfig(const std::string& iniPath, const std::string& libraryName, std::uint16_t defaultPort) {
    const auto read = [&](const std::string& section, const std::string& key) -> std::optional<std::string> {
        // A value no default could produce tells an absent key from an empty one.
        constexpr const char* kAbsent = "\x01";
        char value[1024] = {};
        GetPrivateProfileStringA(section.c_str(), key.c_str(), kAbsent, value, sizeof value, iniPath.c_str());
        if (std::string(value) == kAbsent) {
            return std::nullopt;
        }
        return std::string(value);
    };
    const ConfigLookup fromFile = [&](const std::string& key) {
        const std::optional<std::string> own = read(libraryName, key);
        return own ? own : read("Sim", key);
    };
    return ParseSimConfig(fromFile, defaultPort);
}

}  // namespace quorvel::sim
