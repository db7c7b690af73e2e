#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "model/ButtonMap.h"
#include "model/Pace.h"
#include "settings/ButtonMapFile.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeLog.h"
#include "fakes/FakeProfileFile.h"

namespace quorvel {
namespace {

const std::u16string kPath = u"C:\\Quorvel\\Quorvel.ini";
FakeLog log;

TEST(MapKey, IsEightUpperCaseHexDigits) {
    EXPECT_EQ(MapKey(0xA35C), "0000A35C");
    EXPECT_EQ(MapKey(0), "00000000");
    EXPECT_EQ(MapKey(0xFFFFFFFF), "FFFFFFFF");
}

TEST(SectionList, FindsFirstMatchIgnoringCase) {
    SectionList list;
    list.Append("0000a35c", "first");
    list.Append("0000A35C", "second");
    ASSERT_NE(list.Find("0000A35C"), nullptr);
    EXPECT_EQ(*list.Find("0000A35C"), "first");
    EXPECT_EQ(list.Find("0000A35D"), nullptr);
}

TEST(SectionList, SetReplacesFirstMatchInPlaceOrAppends) {
    SectionList list;
    list.Append("0000a35c", "old");
    list.Append("0000A35C", "duplicate");
    list.Set("0000A35C", "new");
    list.Set("000000FF", "appended");
    ASSERT_EQ(list.Size(), 3u);
    EXPECT_EQ(list.KeyAt(0), "0000a35c");
    EXPECT_EQ(list.ValueAt(0), "new");
    EXPECT_EQ(list.ValueAt(1), "duplicate");
    EXPECT_EQ(list.KeyAt(2), "000000FF");
    EXPECT_EQ(*list.Find("000000ff"), "appended");
}

TEST(ButtonMapPath, IsBesideTheExecutable) {
    EXPECT_EQ(ButtonMapPath(u"C:\\Программы\\Quorvel.exe"), u"C:\\Программы\\Quorvel.ini");
}

TEST(LoadButtonMap, ReadsRemoteNameAndSectionsInFileOrder) {
    auto file = FakeProfileFile::FromText(
        "[RC]\nName=Living room\n"
        "[Buttons]\n0000A35C=Play\n0000a35d=Stop\n"
        "[Keys]\n0000A35C=0020\n");
    const ButtonMap map = LoadButtonMap(file, kPath, log);
    EXPECT_EQ(map.RemoteName(), "Living room");
    ASSERT_EQ(map[Section::Buttons].Size(), 2u);
    EXPECT_EQ(map[Section::Buttons].KeyAt(1), "0000a35d");
    EXPECT_EQ(*map.Lookup(Section::Buttons, "0000A35D"), "Stop");
    EXPECT_EQ(*map.Lookup(Section::Keys, "0000A35C"), "0020");
    EXPECT_EQ(map[Section::Actions].Size(), 0u);
}

TEST(LoadButtonMap, RemoteNameFollowsTheRcSectionAndIsNeverEmpty) {
    struct Case {
        const char* file;
        const char* remoteName;
    };
    for (const Case& c : {Case{"[Buttons]\n00000001=A\n", "RC"}, Case{"[RC]\nType=x\n", "RC"},
                          Case{"[RC]\n", "RC"}, Case{"[rc]\nname=Lower\n", "Lower"}, Case{"[RC]\nName=\n", "RC"},
                          Case{"", "RC"}}) {
        auto file = FakeProfileFile::FromText(c.file);
        EXPECT_EQ(LoadButtonMap(file, kPath, log).RemoteName(), c.remoteName) << c.file;
    }
}

TEST(LoadButtonMap, MissingFileGivesAnEmptyMapAndCreatesNothing) {
    FakeProfileFile file;
    const ButtonMap map = LoadButtonMap(file, kPath, log);
    EXPECT_EQ(map.RemoteName(), "RC");
    for (Section section : kSectionOrder) EXPECT_EQ(map[section].Size(), 0u);
    EXPECT_EQ(file.writes, 0);
}

TEST(LoadButtonMap, KeyLineWithoutEqualsIsNoEntryAndStaysInTheFile) {
    const std::string text = "[Buttons]\n00000001\n00000002=Two\n[Repeat]\n00000001\n";
    auto file = FakeProfileFile::FromText(text);
    ButtonMap map = LoadButtonMap(file, kPath, log);
    EXPECT_EQ(map.Lookup(Section::Buttons, "00000001"), nullptr);
    EXPECT_EQ(*map.Lookup(Section::Buttons, "00000002"), "Two");
    EXPECT_EQ(map[Section::Repeat].Size(), 0u);
    FakeDialogs dialogs;
    ASSERT_TRUE(SaveButtonMap(file, dialogs, kPath, map));
    EXPECT_EQ(file.ToText(), text + "[RC]\r\nName=RC\r\n");
}

TEST(LoadButtonMap, ReadsLongValuesAndLongKeyListsWhole) {
    const std::string longName(5000, 'n');
    std::string text = "[Buttons]\n";
    for (int i = 0; i < 3000; ++i) text += MapKey(i) + "=B" + std::to_string(i) + "\n";
    auto file = FakeProfileFile::FromText(text + "FFFFFFFF=" + longName);

    const ButtonMap map = LoadButtonMap(file, kPath, log);
    ASSERT_EQ(map[Section::Buttons].Size(), 3001u);
    EXPECT_EQ(*map.Lookup(Section::Buttons, "00000BB7"), "B2999");
    EXPECT_EQ(*map.Lookup(Section::Buttons, "FFFFFFFF"), longName);
}

TEST(SaveButtonMap, WritesRemoteNameThenEverySectionInPlace) {
    auto file = FakeProfileFile::FromText(
        "[Keys]\n0000A35C=0020\nForeign=kept\n[Buttons]\n0000A35C=Old\n");
    ButtonMap map = LoadButtonMap(file, kPath, log);
    map[Section::Buttons].Set("0000A35C", "Play");
    map[Section::Actions].Set("0000A35C", "0");
    FakeDialogs dialogs;

    ASSERT_TRUE(SaveButtonMap(file, dialogs, kPath, map));
    EXPECT_EQ(file.ToText(),
              "[Keys]\n0000A35C=0020\nForeign=kept\n[Buttons]\n0000A35C=Play\n[RC]\r\nName=RC\r\n[Actions]\r\n0000A35C=0\r\n");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST(SaveButtonMap, ANewMapIsSavedWithTheDefaultRemoteNameAndAnEmptyNameIsNeverWritten) {
    FakeProfileFile file;
    FakeDialogs dialogs;
    ButtonMap map = LoadButtonMap(file, kPath, log);
    ASSERT_TRUE(SaveButtonMap(file, dialogs, kPath, map));
    EXPECT_EQ(file.ToText(), "[RC]\r\nName=RC\r\n");
    map.SetRemoteName("");
    ASSERT_TRUE(SaveButtonMap(file, dialogs, kPath, map));
    EXPECT_EQ(file.ToText(), "[RC]\r\nName=RC\r\n");
}

TEST(SaveButtonMap, FailedSaveShowsOneMessageAndLeavesTheFileAsItWas) {
    const std::string before = "[RC]\nName=Old\n[Buttons]\n00000001=One\n";
    const std::vector<std::function<void(FakeProfileFile&)>> failures = {
        [](FakeProfileFile& file) { file.writeFails = true; },  // a full disk
        [](FakeProfileFile& file) { file.readOnly = true; },
        [](FakeProfileFile& file) { file.replaceFails = true; },  // open in another program
        [](FakeProfileFile& file) { file.readFails = true; },     // locked by another program
    };
    for (std::size_t i = 0; i < failures.size(); ++i) {
        auto file = FakeProfileFile::FromText(before);
        ButtonMap map = LoadButtonMap(file, kPath, log);
        map.SetRemoteName("RC");
        map[Section::Buttons].Set("00000002", "Two");
        failures[i](file);
        FakeDialogs dialogs;

        EXPECT_FALSE(SaveButtonMap(file, dialogs, kPath, map)) << i;
        ASSERT_EQ(dialogs.shown.size(), 1u) << i;
        EXPECT_EQ(dialogs.shown[0].text, "Unable to write to C:\\Quorvel\\Quorvel.ini");
        EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Error);
        EXPECT_EQ(file.ToText(), before) << i;
        EXPECT_FALSE(file.copy) << i;
    }
}

TEST(SaveButtonMap, ValuesWithBlanksOrQuotesAroundThemComeBackAsSaved) {
    const std::vector<std::string> values = {" Play ", "\"C:\\Program Files\\Player\\player.exe\"", "'x'",
                                             "\"\"", "\"a\" \"b\"", "\"", "plain"};
    ButtonMap map;
    map.SetRemoteName("\"Living room\"");
    for (std::size_t i = 0; i < values.size(); ++i) map[Section::Applications].Append(MapKey(i), values[i]);
    FakeProfileFile file;
    FakeDialogs dialogs;
    ASSERT_TRUE(SaveButtonMap(file, dialogs, kPath, map));

    auto saved = FakeProfileFile::FromText(file.ToText());
    const ButtonMap loaded = LoadButtonMap(saved, kPath, log);
    EXPECT_EQ(loaded.RemoteName(), map.RemoteName());
    ASSERT_EQ(loaded[Section::Applications].Size(), values.size());
    for (std::size_t i = 0; i < values.size(); ++i) EXPECT_EQ(loaded[Section::Applications].ValueAt(i), values[i]);
}

}  // namespace
}  // namespace quorvel

namespace quorvel {
namespace {

TEST(Pace, ReadsTwoOrThreeFiguresWithinTheirBoundsAndNothingElse) {
    const std::pair<const char*, std::optional<Pace>> rows[] = {
        {"300,100", Pace{300, 100, 100}},
        {" 150 , 50 ", Pace{150, 50, 50}},
        {"1000,400,50", Pace{1000, 400, 50}},
        {"20,9000,1", Pace{100, 5000, 50}},
        {"300,100,200", Pace{300, 100, 100}},
        {"fast", std::nullopt},
        {"300", std::nullopt},
        {"300,100,50,25", std::nullopt},
        {"-5,100", std::nullopt},
        {"300,,100", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [text, pace] : rows) EXPECT_EQ(ParsePace(text), pace) << text;
    EXPECT_EQ(PaceText({300, 100, 100}), "300,100");
    EXPECT_EQ(PaceText({1000, 400, 50}), "1000,400,50");
}

TEST(ParseTypedMs, TakesAWholeNumberClampedToItsBoundsAndNothingElse) {
    const std::pair<const char*, std::optional<std::uint32_t>> rows[] = {
        {"450", 450},  {" 0450 ", 450},         {"20", 100},           {"9000", 5000},
        {"100", 100},  {"5000", 5000},          {"99999999999999999999", 5000},
        {"", std::nullopt}, {"  ", std::nullopt}, {"4.5", std::nullopt}, {"-5", std::nullopt},
        {"+5", std::nullopt}, {"45 0", std::nullopt}, {"fast", std::nullopt},
    };
    for (const auto& [text, ms] : rows) EXPECT_EQ(ParseTypedMs(text, 100, 5000), ms) << text;
}

TEST(LoadButtonMap, LogsEachPaceItCannotReadOnce) {
    auto file = FakeProfileFile::FromText(
        "[Pace]\n00BE0010=150,50\n00BE0011=fast\n[Programs]\nplayer.exe=0\n[Pace@player.exe]\n00BE0010-Double=1\n");
    FakeLog lines;
    const ButtonMap map = LoadButtonMap(file, kPath, lines);
    EXPECT_EQ(lines.lines, (std::vector<std::string>{
                               "Button map: pace \"fast\" of 00BE0011 in [Pace] cannot be read; the settings' pace applies",
                               "Button map: pace \"1\" of 00BE0010-Double in [Pace@player.exe] cannot be read; the "
                               "settings' pace applies"}));
    EXPECT_NE(map.Lookup(Section::Pace, "00BE0010"), nullptr);
}

}  // namespace
}  // namespace quorvel
