#include "lirc/LircCommands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/ButtonMap.h"

namespace quorvel {
namespace {

const LircDirectory kHall{"0.1.0.1", "Hall", {{0x0000A35C, "Play"}, {0x00BE0010, "Volume Up"}}};

std::string Reply(const std::string& echo, const std::string& result, const std::vector<std::string>& data) {
    std::string packet = "BEGIN\n" + echo + "\n" + result + "\n";
    if (!data.empty()) packet += "DATA\n" + std::to_string(data.size()) + "\n";
    for (const std::string& line : data) packet += line + "\n";
    return packet + "END\n";
}

struct CommandCase {
    std::string line;
    std::string result;
    std::vector<std::string> data;
};

TEST(LircCommandsTest, EachCommandGetsItsReplyPacketWithTheLineEchoedExactly) {
    const std::vector<CommandCase> cases = {
        {"VERSION", "SUCCESS", {"0.1.0.1"}},
        {"VERSION  ", "SUCCESS", {"0.1.0.1"}},
        {"version", "SUCCESS", {"0.1.0.1"}},
        {"LIST  ", "SUCCESS", {"Hall"}},
        {"LIST Hall ", "SUCCESS", {"000000000000A35C Play", "0000000000BE0010 Volume Up"}},
        {"\tLIST\tHall", "SUCCESS", {"000000000000A35C Play", "0000000000BE0010 Volume Up"}},
        {"LIST Hall Volume Up", "SUCCESS", {"0000000000BE0010 Volume Up"}},
        {"LIST Hall Stop", "ERROR", {"unknown command: \"Stop\""}},
        {"LIST hall ", "ERROR", {"unknown remote: \"hall\""}},
        {"LIST Hallway x", "ERROR", {"unknown remote: \"Hallway\""}},
        {"SEND_ONCE Hall Play", "ERROR", {"unknown directive: \"SEND_ONCE\""}},
        {"  ", "ERROR", {"bad send packet"}},
    };
    for (const CommandCase& c : cases) {
        EXPECT_EQ(AnswerCommand(c.line, kHall), Reply(c.line, c.result, c.data)) << '"' << c.line << '"';
    }
    EXPECT_EQ(AnswerCommand("VERSION  ", kHall), "BEGIN\nVERSION  \nSUCCESS\nDATA\n1\n0.1.0.1\nEND\n");
}

TEST(LircCommandsTest, MapWithoutRemoteNameOrNamedButtonsListsNothing) {
    const LircDirectory unnamed{"0.1.0.1", "", {}};
    EXPECT_EQ(AnswerCommand("LIST", unnamed), "BEGIN\nLIST\nSUCCESS\nEND\n");
    EXPECT_EQ(AnswerCommand("LIST RC", unnamed), Reply("LIST RC", "ERROR", {"unknown remote: \"RC\""}));
    const LircDirectory empty{"0.1.0.1", "RC", {}};
    EXPECT_EQ(AnswerCommand("LIST RC", empty), "BEGIN\nLIST RC\nSUCCESS\nEND\n");
}

TEST(LircCommandsTest, DirectoryHoldsTheNamedButtonsAPressCanReachInMapOrder) {
    ButtonMap map;
    map.SetRemoteName("Hall");
    SectionList& names = map[Section::Buttons];
    names.Append("00be0010", "Volume Up");
    names.Append("0000A35C", "Play");
    names.Append("0000a35c", "Shadowed");  // a later key that differs in letter case only
    names.Append("00BE0052", "");          // unnamed
    names.Append("A35D", "Short key");
    names.Append("0000XYZ1", "Not hex");
    const LircDirectory directory = MakeLircDirectory(map, "0.1.0.1");
    EXPECT_EQ(directory.version, "0.1.0.1");
    EXPECT_EQ(directory.remoteName, "Hall");
    EXPECT_EQ(directory.buttons, (std::vector<LircButton>{{0x00BE0010, "Volume Up"}, {0x0000A35C, "Play"}}));
}

struct SplitCase {
    std::vector<std::string> chunks;
    std::vector<std::string> lines;  // overlong ones start with '!'
};

TEST(LircCommandsTest, SplitterCutsLinesAcrossChunksAndRefusesThoseOverTheLimit) {
    const std::string limit(kMaxCommandLine, 'x');
    const std::vector<SplitCase> cases = {
        {{"VERSION\nLI", "ST\r\n", "\n"}, {"VERSION", "LIST", ""}},
        {{"A\rB\n"}, {"A\rB"}},
        {{limit + "\n"}, {limit}},
        {{limit + "\r", "\n"}, {limit}},
        {{limit + "y\nVERSION\n"}, {"!" + limit, "VERSION"}},
        {{limit, "y", std::string(5000, 'z'), "z\nLIST\n"}, {"!" + limit, "LIST"}},
        {{limit + "\r", "y\nLIST\n"}, {"!" + limit, "LIST"}},
        {{"VERSION"}, {}},
    };
    for (const SplitCase& c : cases) {
        CommandLineSplitter splitter;
        std::vector<std::string> lines;
        for (const std::string& chunk : c.chunks) {
            splitter.Feed(chunk, [&](std::string_view line, bool overlong) {
                lines.push_back((overlong ? "!" : "") + std::string(line));
            });
        }
        EXPECT_EQ(lines, c.lines) << c.chunks.front().substr(0, 20);
    }
}

TEST(LircCommandsTest, OverlongLineIsRefusedWithItsStartEchoed) {
    const std::string start(kMaxCommandLine, 'x');
    EXPECT_EQ(RefuseOverlongLine(start), Reply(start, "ERROR", {"command longer than 255 bytes"}));
}

}  // namespace
}  // namespace quorvel
