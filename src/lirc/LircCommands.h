#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

class ButtonMap;

struct LircButton {
    std::uint32_t extendedCode = 0;
    std::string name;
    friend bool operator==(const LircButton&, const LircButton&) = default;
};

// What the server answers commands from: a copy made on the main thread, never changed after.
struct LircDirectory {
    std::string version;
    std::string remoteName;
    std::vector<LircButton> buttons;  // the named buttons, in the map's order
};

// The buttons a press can reach under a name, with the map's remote name.
LircDirectory MakeLircDirectory(const ButtonMap& map, std::string version);

// The longest command line the server takes, without its line end.
constexpr std::size_t kMaxCommandLine = 255;

// The reply packet to one command line (given without its line end), echoing it byte for byte.
std::string AnswerCommand(std::string_view line, const LircDirectory& directory);
// The reply to a line longer than kMaxCommandLine, given its first kMaxCommandLine bytes.
std::string RefuseOverlongLine(std::string_view start);

// Cuts what a client sends into command lines ending in LF or CR LF. A line that grows past
// kMaxCommandLine is reported at once, cut to that length, and the rest of it is skipped.
class CommandLineSplitter {
public:
    using LineHandler = std::function<void(std::string_view line, bool overlong)>;
    void Feed(std::string_view data, const LineHandler& onLine);

private:
    std::string pending_;
    bool skipping_ = false;
};

}  // namespace quorvel
