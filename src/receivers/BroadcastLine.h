#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

// One button event as a LIRC or WinLIRC server broadcasts it:
// "<code hex> <repeat hex> <button name> <remote name>".
struct BroadcastLine {
    std::uint64_t code = 0;
    std::uint32_t repeat = 0;
    std::string button;
    std::string remote;
    friend bool operator==(const BroadcastLine&, const BroadcastLine&) = default;
};

// The event of one line (without its line feed), or nothing for any other line: reply and
// SIGHUP packets, garbage.
std::optional<BroadcastLine> ParseBroadcastLine(std::string_view line);

// Cuts what a connection delivers, in pieces of any size, into lines, and hands on the events
// among them. A line longer than kMaxLineLength is dropped whole.
class BroadcastReader {
public:
    static constexpr std::size_t kMaxLineLength = 1024;

    void Feed(std::string_view received, const std::function<void(const BroadcastLine&)>& onEvent);

private:
    std::string partial_;
    bool overlong_ = false;
};

}  // namespace quorvel
