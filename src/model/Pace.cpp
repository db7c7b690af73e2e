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

std::string PaceText(const Pace& pace) {
    std::string text = std::to_string(pace.delay) + ',' + std::to_string(pace.interval);
    if (pace.fastest < pace.interval) text += ',' + std::to_string(pace.fastest);
    return text;
}

}  // namespace quorvel
