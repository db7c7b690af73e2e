#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "receivers/BroadcastLine.h"

namespace quorvel {
namespace {

struct LineCase {
    const char* line;
    std::optional<BroadcastLine> expected;
};

const LineCase kLines[] = {
    // lircd's form: lower case, 16 digits, names without spaces.
    {"000000000000a35c 00 Play TestRemote", BroadcastLine{0xA35C, 0, "Play", "TestRemote"}},
    // A WinLIRC server's: upper case, a button name with spaces, no remote name or no button name.
    {"0000000000BE0010 02 Volume Up Hall", BroadcastLine{0xBE0010, 2, "Volume Up", "Hall"}},
    {"000000000000A35C 00 Play ", BroadcastLine{0xA35C, 0, "Play", ""}},
    {"0000000000BE0052 00  Hall", BroadcastLine{0xBE0052, 0, "", "Hall"}},
    {"000000000000A35C 1f Play Hall\r", BroadcastLine{0xA35C, 0x1F, "Play", "Hall"}},
    // Codes of all 64 bits, counts past 255, short fields.
    {"fedcba9876543210 100 Key Remote", BroadcastLine{0xFEDCBA9876543210, 0x100, "Key", "Remote"}},
    {"5c 0 K R", BroadcastLine{0x5C, 0, "K", "R"}},
    {"000000000000A35C 00 Caf\xe9 Hall", BroadcastLine{0xA35C, 0, "Caf\xe9", "Hall"}},
    // Packets, replies and garbage.
    {"BEGIN", std::nullopt},
    {"SIGHUP", std::nullopt},
    {"END", std::nullopt},
    {"SEND_ONCE TestRemote Play", std::nullopt},
    {"0000000000000001 KEY_POWER", std::nullopt},
    {"", std::nullopt},
    {"000000000000A35C 00 Play", std::nullopt},
    {"000000000000A35G 00 Play Hall", std::nullopt},
    {"10000000000000000 00 Play Hall", std::nullopt},
    {"000000000000A35C 123456789 Play Hall", std::nullopt},
    {"000000000000A35C -1 Play Hall", std::nullopt},
    {" 000000000000A35C 00 Play Hall", std::nullopt},
    {"000000000000A35C 00 Pl\tay Hall", std::nullopt},
};

TEST(ParseBroadcastLine, TakesBroadcastsOfLircAndWinLircServersAndNothingElse) {
    for (const LineCase& c : kLines) EXPECT_EQ(ParseBroadcastLine(c.line), c.expected) << c.line;
}

std::vector<BroadcastLine> FeedPieces(BroadcastReader& reader, const std::vector<std::string>& pieces) {
    std::vector<BroadcastLine> events;
    for (const std::string& piece : pieces) {
        reader.Feed(piece, [&](const BroadcastLine& event) { events.push_back(event); });
    }
    return events;
}

TEST(BroadcastReader, JoinsPiecesIntoLinesAndSkipsPacketsAndGarbage) {
    BroadcastReader reader;
    const std::vector<BroadcastLine> events = FeedPieces(
        reader, {"0000000000", "00a35c 00 Play Rem", "ote\nBEGIN\nSIGHUP\nEND\n\x01\x02garbage\n\n",
                 "000000000000a35c 01 Play Remote\n000000000000", "0010 00 Vol Remote\n0000"});
    EXPECT_EQ(events, (std::vector<BroadcastLine>{{0xA35C, 0, "Play", "Remote"},
                                                  {0xA35C, 1, "Play", "Remote"},
                                                  {0x10, 0, "Vol", "Remote"}}));
}

TEST(BroadcastReader, DropsAnOverlongLineWholeAndReadsOnAfterIt) {
    BroadcastReader reader;
    const std::string valid = "000000000000a35c 00 Play Remote";
    const std::string longName(BroadcastReader::kMaxLineLength, 'x');
    const std::vector<BroadcastLine> events = FeedPieces(
        reader, {valid.substr(0, 20), longName, " Remote\n", "000000000000a35c 00 " + longName + " R\n" + valid + "\n"});
    EXPECT_EQ(events, (std::vector<BroadcastLine>{{0xA35C, 0, "Play", "Remote"}}));

    // A line of exactly the greatest length still counts.
    const std::string longest = "5c 0 " + std::string(BroadcastReader::kMaxLineLength - 7, 'k') + " R";
    ASSERT_EQ(longest.size(), BroadcastReader::kMaxLineLength);
    EXPECT_EQ(FeedPieces(reader, {longest + "\n"}).size(), 1u);
}

}  // namespace
}  // namespace quorvel
