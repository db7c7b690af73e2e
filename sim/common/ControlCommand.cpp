#include "ControlCommand.h"

#include <charconv>
#include <cstdio>
#include <optional>
#include <sstream>
#include <vector>

namespace quorvel::sim {

namespace {

constexpr std::uint32_t kMaxPolls = 1000000;

std::vector<std::string> Words(const std::string& line) {
    std::istringstream stream(line);
    std::vector<std::string> words;
    for (std::string word; stream >> word;) {
        words.push_back(word);
    }
    return words;
}

std::optional<std::uint32_t> ParseHex(std::string text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.erase(0, 2);
    }
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::uint32_t> ParsePolls(const std::string& text) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value == 0 || value > kMaxPolls) {
        return std::nullopt;
    }
    return value;
}

// The extended code and the optional RC code that follows it; the RC code defaults to the
// extended code's low byte, as the real receivers report it.
std::optional<SimButton> ParseButton(const std::vector<std::string>& words, std::size_t codeAt, std::size_t rcAt) {
    const std::optional<std::uint32_t> extCode = ParseHex(words[codeAt]);
    if (!extCode) {
        return std::nullopt;
    }
    std::uint32_t rcCode = *extCode & 0xFF;
    if (rcAt < words.size()) {
        const std::optional<std::uint32_t> given = ParseHex(words[rcAt]);
        if (!given) {
            return std::nullopt;
        }
        rcCode = *given;
    }
    return SimButton{*extCode, rcCode};
}

std::string Queued(bool accepted) {
    return accepted ? "ok" : "error queue full";
}

std::string FormatStatus(const QueueStatus& status) {
    char text[96];
    std::snprintf(text, sizeof text, "polls=%llu queued=%zu current=%08X",
                  static_cast<unsigned long long>(status.polls), status.queued, status.current);
    return text;
}

std::string FormatPressStart(const std::optional<PressStart>& start) {
    if (!start) {
        return "none";
    }
    char text[96];
    std::snprintf(text, sizeof text, "poll=%llu code=%08X queued=%llu polled=%llu",
                  static_cast<unsigned long long>(start->poll), start->extCode,
                  static_cast<unsigned long long>(start->queuedAt), static_cast<unsigned long long>(start->polledAt));
    return text;
}

struct CommandSyntax {
    const char* name;
    std::size_t minArguments;
    std::size_t maxArguments;
    const char* usage;
};

constexpr CommandSyntax kCommands[] = {
    {"press", 2, 3, "press <extcode-hex> <polls> [rc-hex]"},
    {"gap", 1, 1, "gap <polls>"},
    {"hold", 1, 2, "hold <extcode-hex> [rc-hex]"},
    {"release", 0, 0, "release"},
    {"status", 0, 0, "status"},
    {"log", 0, 0, "log"},
    {"reset", 0, 0, "reset"},
    {"pressed", 0, 0, "pressed"},
};

std::string Usage(const std::string& command) {
    for (const CommandSyntax& syntax : kCommands) {
        if (command == syntax.name) {
            return std::string("error usage: ") + syntax.usage;
        }
    }
    return "error unknown command: " + command;
}

bool ArgumentCountFits(const std::string& command, std::size_t count) {
    for (const CommandSyntax& syntax : kCommands) {
        if (command == syntax.name) {
            return count >= syntax.minArguments && count <= syntax.maxArguments;
        }
    }
    return false;
}

std::string RunControlCommand(const std::string& line, ButtonQueue& queue, const CallLog& log) {
    const std::vector<std::string> words = Words(line);
    if (words.empty()) {
        return "error empty command";
    }
    const std::string& command = words[0];
    if (!ArgumentCountFits(command, words.size() - 1)) {
        return Usage(command);
    }
    if (command == "press") {
        const std::optional<SimButton> button = ParseButton(words, 1, 3);
        const std::optional<std::uint32_t> polls = ParsePolls(words[2]);
        return button && polls ? Queued(queue.Press(*button, *polls)) : Usage(command);
    }
    if (command == "gap") {
        const std::optional<std::uint32_t> polls = ParsePolls(words[1]);
        return polls ? Queued(queue.Gap(*polls)) : Usage(command);
    }
    if (command == "hold") {
        const std::optional<SimButton> button = ParseButton(words, 1, 2);
        return button ? Queued(queue.Hold(*button)) : Usage(command);
    }
    if (command == "release") {
        return queue.Release() ? "ok" : "error nothing held";
    }
    if (command == "status") {
        return FormatStatus(queue.Status());
    }
    if (command == "log") {
        return log.Snapshot();
    }
    if (command == "pressed") {
        return FormatPressStart(queue.LastPressStart());
    }
    queue.Reset();
    return "ok";
}

}  // namespace

std::string RunControlLine(const std::string& line, ButtonQueue& queue, const CallLog& log) {
    std::string replies;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = line.find(';', start);
        if (start != 0) {
            replies += "; ";
        }
        replies += RunControlCommand(line.substr(start, end - start), queue, log);
        if (end == std::string::npos) {
            return replies;
        }
        start = end + 1;
    }
}

}  // namespace quorvel::sim
