#include "lirc/LircCommands.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <utility>

#include "core/Text.h"
#include "model/ButtonMap.h"

namespace quorvel {
namespace {

// The first word of the text, and what follows it with its blanks trimmed.
std::pair<std::string_view, std::string_view> SplitWord(std::string_view text) {
    text = TrimBlanks(text);
    const std::size_t end = std::min(text.find_first_of(kBlanks), text.size());
    return {text.substr(0, end), TrimBlanks(text.substr(end))};
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// The data section is left out when there is nothing to say, as LIRC daemons do.
std::string Packet(std::string_view echo, std::string_view result, const std::vector<std::string>& data) {
    std::string packet = "BEGIN\n";
    packet.append(echo).append("\n").append(result).append("\n");
    if (!data.empty()) {
        packet.append("DATA\n").append(std::to_string(data.size())).append("\n");
        for (const std::string& line : data) packet.append(line).append("\n");
    }
    return packet.append("END\n");
}

std::string Success(std::string_view echo, const std::vector<std::string>& data) {
    return Packet(echo, "SUCCESS", data);
}

std::string Error(std::string_view echo, std::string message) { return Packet(echo, "ERROR", {std::move(message)}); }

// The code as a WinLIRC line writes it: 16 upper-case hex digits.
std::string ButtonLine(const LircButton& button) {
    char code[24];
    std::snprintf(code, sizeof code, "%016llX ", static_cast<unsigned long long>(button.extendedCode));
    return code + button.name;
}

// Names may hold blanks, so what follows LIST is matched against the whole remote name first,
// then against the remote name followed by one button's name.
std::string List(std::string_view line, std::string_view arguments, const LircDirectory& directory) {
    if (arguments.empty()) {
        if (directory.remoteName.empty()) return Success(line, {});
        return Success(line, {directory.remoteName});
    }
    const std::string_view remote = directory.remoteName;
    std::vector<std::string> data;
    if (arguments == remote) {
        for (const LircButton& button : directory.buttons) data.push_back(ButtonLine(button));
        return Success(line, data);
    }
    const bool namesRemote = !remote.empty() && arguments.starts_with(remote) &&
                             kBlanks.find(arguments[remote.size()]) != std::string_view::npos;
    if (!namesRemote) return Error(line, "unknown remote: " + Quoted(SplitWord(arguments).first));

    const std::string_view button = TrimBlanks(arguments.substr(remote.size()));
    for (const LircButton& candidate : directory.buttons) {
        if (candidate.name == button) return Success(line, {ButtonLine(candidate)});
    }
    return Error(line, "unknown command: " + Quoted(button));
}

}  // namespace

LircDirectory MakeLircDirectory(const ButtonMap& map, std::string version) {
    LircDirectory directory{std::move(version), map.RemoteName(), {}};
    const SectionList& names = map[Section::Buttons];
    for (std::size_t i = 0; i < names.Size(); ++i) {
        const std::string& key = names.KeyAt(i);
        const std::string& name = names.ValueAt(i);
        // A press looks its name up under 8 hex digits, and finds the first of keys that differ
        // only in letter case.
        const std::optional<std::uint32_t> code = key.size() == 8 ? ParseHex(key) : std::nullopt;
        if (!code || name.empty() || names.Find(key) != &name) continue;
        directory.buttons.push_back({*code, name});
    }
    return directory;
}

std::string AnswerCommand(std::string_view line, const LircDirectory& directory) {
    const auto [command, arguments] = SplitWord(line);
    if (command.empty()) return Error(line, "bad send packet");
    if (EqualsIgnoringCase(command, "VERSION")) return Success(line, {directory.version});
    if (EqualsIgnoringCase(command, "LIST")) return List(line, arguments, directory);
    return Error(line, "unknown directive: " + Quoted(command));
}

std::string RefuseOverlongLine(std::string_view start) {
    return Error(start, "command longer than " + std::to_string(kMaxCommandLine) + " bytes");
}

void CommandLineSplitter::Feed(std::string_view data, const LineHandler& onLine) {
    while (!data.empty()) {
        const std::size_t end = data.find('\n');
        const bool complete = end != std::string_view::npos;
        const std::string_view piece = data.substr(0, end);
        data.remove_prefix(complete ? end + 1 : data.size());
        if (skipping_) {
            skipping_ = !complete;
            continue;
        }
        // One byte beyond the limit is kept while it may be the CR of a CR LF.
        const std::size_t room = kMaxCommandLine + 1 - pending_.size();
        const bool cut = piece.size() > room;
        pending_.append(piece.substr(0, room));
        if (complete && !cut && !pending_.empty() && pending_.back() == '\r') pending_.pop_back();
        const bool overlong =
            cut || (pending_.size() > kMaxCommandLine && (complete || pending_.back() != '\r'));
        if (!complete && !overlong) continue;
        onLine(std::string_view(pending_).substr(0, kMaxCommandLine), overlong);
        pending_.clear();
        skipping_ = overlong && !complete;
    }
}

}  // namespace quorvel
