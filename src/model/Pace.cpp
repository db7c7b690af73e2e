#include "model/Pace.h"

#include <array>

#include "core/Text.h"

namespace quorvel {

Pace ClampPace(const Pace& pace) {
    const std::uint32_t interval = ClampRepeatInterval(pace.interval);
    return {ClampRepeatDelay(pace.delay), interval, Clamp(pace.fastest, kMinRepeatInterval, interval)};
}

std::optional<Pace> ParsePace(std::string_view text) {
    std::array<std::uint32_t, 3> figures{};
    std::size_t count = 0;
    while (true) {
        const std::size_t comma = text.find(',');
        const auto figure = ParseDecimal(TrimBlanks(text.substr(0, comma)));
        if (!figure || *figure < 0 || count == figures.size()) return std::nullopt;
        figures[count++] = static_cast<std::uint32_t>(*figure);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    if (count < 2) return std::nullopt;
    return ClampPace({figures[0], figures[1], count == 3 ? figures[2] : figures[1]});
}

// However many digits are typed, the figure is a number: beyond the bound, it is the bound.
std::optional<std::uint32_t> ParseTypedMs(std::string_view text, std::uint32_t low, std::uint32_t high) {
    text = TrimBlanks(text);
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
    std::uint64_t value = 0;
    for (const char digit : text) {
        value = value * 10 + static_cast<std::uint64_t>(digit - '0');
        if (value > high) return high;
    }
    return Clamp(static_cast<std::uint32_t>(value), low, high);
}

std::string PaceText(const Pace& pace) {
    std::string text = std::to_string(pace.delay) + ',' + std::to_string(pace.interval);
    if (pace.fastest < pace.interval) text += ',' + std::to_string(pace.fastest);
    return text;
}

}  // namespace quorvel
