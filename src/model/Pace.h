#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

// How a held button repeats, in ms: the first repeat comes `delay` after the press began, the
// next ones `interval` apart. With `fastest` below `interval`, the interval halves with every
// second of the hold after the first repeat, down to `fastest`.
struct Pace {
    std::uint32_t delay = 450;
    std::uint32_t interval = 50;
    std::uint32_t fastest = 50;
    friend bool operator==(const Pace&, const Pace&) = default;
};

constexpr std::uint32_t kMinRepeatDelay = 100;
constexpr std::uint32_t kMaxRepeatDelay = 5000;
constexpr std::uint32_t kMinRepeatInterval = 50;
constexpr std::uint32_t kMaxRepeatInterval = 5000;

constexpr std::uint32_t Clamp(std::uint32_t value, std::uint32_t low, std::uint32_t high) {
    return value < low ? low : value > high ? high : value;
}
constexpr std::uint32_t ClampRepeatDelay(std::uint32_t ms) { return Clamp(ms, kMinRepeatDelay, kMaxRepeatDelay); }
constexpr std::uint32_t ClampRepeatInterval(std::uint32_t ms) {
    return Clamp(ms, kMinRepeatInterval, kMaxRepeatInterval);
}
// Every figure within its bounds, the fastest interval no slower than the interval.
Pace ClampPace(const Pace& pace);

// A button's own pace as the map stores it: "delay,interval" or "delay,interval,fastest", in
// ms, blanks allowed around the numbers; figures beyond their bounds are clamped. Nothing when
// the text is no pace.
std::optional<Pace> ParsePace(std::string_view text);
// The stored form; the fastest interval only where it speeds the repeats up.
std::string PaceText(const Pace& pace);

// A time the user typed, in ms: a whole number, blanks allowed around it, clamped to its
// bounds. Nothing when the text is no whole number.
std::optional<std::uint32_t> ParseTypedMs(std::string_view text, std::uint32_t low, std::uint32_t high);

}  // namespace quorvel
