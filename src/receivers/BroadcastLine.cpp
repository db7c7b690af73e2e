#include "receivers/BroadcastLine.h"

namespace quorvel {
namespace {

std::optional<std::uint64_t> ParseHex(std::string_view digits, std::size_t maxDigits) {
    if (digits.empty() || digits.size() > maxDigits) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : digits) {
        int digit;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            return std::nullopt;
        }
        value = value << 4 | static_cast<std::uint64_t>(digit);
    }
    return value;
}

// Up to the next space; the rest after it. Nothing when there is no space.
std::optional<std::string_view> TakeField(std::string_view& rest) {
    const std::size_t space = rest.find(' ');
    if (space == std::string_view::npos) return std::nullopt;
    const std::string_view field = rest.substr(0, space);
    rest.remove_prefix(space + 1);
    return field;
}

}  // namespace

// lircd writes lower-case hexadecimal and names without spaces; a WinLIRC server writes
// upper-case and may keep the spaces of a button's name. So the remote name is what follows
// the last space, and the button name everything between the repeat count and it.
std::optional<BroadcastLine> ParseBroadcastLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    for (const char c : line) {
        if (static_cast<unsigned char>(c) < 0x20) return std::nullopt;
    }
    std::string_view rest = line;
    const auto codeField = TakeField(rest);
    const auto repeatField = TakeField(rest);
    if (!codeField || !repeatField) return std::nullopt;
    const std::size_t lastSpace = rest.rfind(' ');
    if (lastSpace == std::string_view::npos) return std::nullopt;
    const auto code = ParseHex(*codeField, 16);
    const auto repeat = ParseHex(*repeatField, 8);
    if (!code || !repeat) return std::nullopt;
    return BroadcastLine{*code, static_cast<std::uint32_t>(*repeat), std::string(rest.substr(0, lastSpace)),
                         std::string(rest.substr(lastSpace + 1))};
}

void BroadcastReader::Feed(std::string_view received,
                           const std::function<void(const BroadcastLine&)>& onEvent) {
    while (!received.empty()) {
        const std::size_t end = received.find('\n');
        const std::string_view piece = received.substr(0, end);
        if (!overlong_ && partial_.size() + piece.size() <= kMaxLineLength) {
            partial_.append(piece);
        } else {
            // The rest of an over-long line is skipped up to its line feed.
            overlong_ = true;
            partial_.clear();
        }
        if (end == std::string_view::npos) return;
        if (!overlong_) {
            if (const auto event = ParseBroadcastLine(partial_)) onEvent(*event);
        }
        partial_.clear();
        overlong_ = false;
        received.remove_prefix(end + 1);
    }
}

}  // namespace quorvel
