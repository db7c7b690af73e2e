// What WinLIRC clients send: any bytes, cut into command lines in two pieces at any point. Every
// line is at most the longest command line, and each gets one whole reply packet that echoes
// it: BEGIN, the line, SUCCESS or ERROR, an optional DATA block whose count matches its lines,
// END.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "lirc/LircCommands.h"

namespace quorvel {
namespace {

std::vector<std::string_view> Lines(std::string_view packet) {
    std::vector<std::string_view> lines;
    while (!packet.empty()) {
        const std::size_t end = packet.find('\n');
        Require(end != std::string_view::npos, "a reply ends in a line end");
        lines.push_back(packet.substr(0, end));
        packet.remove_prefix(end + 1);
    }
    return lines;
}

void CheckPacket(std::string_view line, const std::string& packet) {
    const std::vector<std::string_view> lines = Lines(packet);
    Require(lines.size() >= 4 && lines[0] == "BEGIN" && lines[1] == line && lines.back() == "END",
            "a reply is framed by BEGIN and END and echoes the line");
    Require(lines[2] == "SUCCESS" || lines[2] == "ERROR", "a reply says SUCCESS or ERROR");
    if (lines.size() == 4) return;
    Require(lines[3] == "DATA" && lines.size() >= 6, "a reply's data starts with DATA and a count");
    Require(lines[4] == std::to_string(lines.size() - 6), "the count matches the data lines");
}

const LircDirectory& Directory() {
    static const LircDirectory directory{"0.1.0.1", "Hall", {{0xA35C, "Play"}, {0xA35D, "Volume Up"}}};
    return directory;
}

}  // namespace
}  // namespace quorvel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvel;
    if (size == 0) return 0;
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t cut = data[0] % (input.size() + 1);
    CommandLineSplitter splitter;
    const auto onLine = [](std::string_view line, bool overlong) {
        Require(line.size() <= kMaxCommandLine, "a line is never longer than the longest command");
        Require(line.find('\n') == std::string_view::npos, "a line holds no line end");
        const std::string reply = overlong ? RefuseOverlongLine(line) : AnswerCommand(line, Directory());
        CheckPacket(line, reply);
    };
    splitter.Feed(input.substr(0, cut), onLine);
    splitter.Feed(input.substr(cut), onLine);
    return 0;
}
