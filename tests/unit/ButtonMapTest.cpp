#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "model/ButtonMap.h"
#include "settings/ButtonMapFile.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeLog.h"
#include "fakes/FakeProfileFile.h"

namespace quorvel {
namespace {

const std::string kPath = "C:\\Quorvel\\Quorvel.ini";
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
    EXPECT_EQ(ButtonMapPath("C:\\Program Files\\Quorvel\\Quorvel.exe"), "C:\\Program Files\\Quorvel\\Quorvel.ini");
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

TEST(LoadButtonMap, KeyWithoutValueReadsAsTheSectionFallback) {
    auto file = FakeProfileFile::FromText(
        "[Buttons]\n00000001\n[Repeat]\n00000001\n[Actions]\n00000001\n[Keys]\n00000001\n[Applications]\n00000001\n");
    const ButtonMap map = LoadButtonMap(file, kPath, log);
    EXPECT_EQ(*map.Lookup(Section::Buttons, "00000001"), "0000000000000000");
    EXPECT_EQ(*map.Lookup(Section::Repeat, "00000001"), "1");
    EXPECT_EQ(*map.Lookup(Section::Actions, "00000001"), "00");
    EXPECT_EQ(*map.Lookup(Section::Keys, "00000001"), "0000");
    EXPECT_EQ(*map.Lookup(Section::Applications, "00000001"), "");
}

TEST(LoadButtonMap, ReadsLongValuesAndLongKeyListsWhole) {
    FakeProfileFile file;
    const std::string longName(5000, 'n');
    FakeProfileFile::SectionData buttons{"Buttons", {}};
    for (int i = 0; i < 3000; ++i) buttons.entries.push_back({MapKey(i), "B" + std::to_string(i)});
    buttons.entries.push_back({"FFFFFFFF", longName});
    file.sections.push_back(buttons);

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
              "[Keys]\n0000A35C=0020\nForeign=kept\n[Buttons]\n0000A35C=Play\n[RC]\nName=RC\n[Actions]\n0000A35C=0\n");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST(SaveButtonMap, ANewMapIsSavedWithTheDefaultRemoteNameAndAnEmptyNameIsNeverWritten) {
    FakeProfileFile file;
    FakeDialogs dialogs;
    ButtonMap map = LoadButtonMap(file, kPath, log);
    ASSERT_TRUE(SaveButtonMap(file, dialogs, kPath, map));
    EXPECT_EQ(file.ToText(), "[RC]\nName=RC\n");
    map.SetRemoteName("");
    ASSERT_TRUE(SaveButtonMap(file, dialogs, kPath, map));
    EXPECT_EQ(file.ToText(), "[RC]\nName=RC\n");
}

TEST(SaveButtonMap, FailedSaveShowsOneMessageAndLeavesTheFileAsItWas) {
    const std::string before = "[RC]\nName=Old\n[Buttons]\n00000001=One\n";
    const std::vector<std::function<void(FakeProfileFile&)>> failures = {
        [](FakeProfileFile& file) { file.writesBeforeFailure = 2; },  // a full disk
        [](FakeProfileFile& file) { file.readOnly = true; },
        [](FakeProfileFile& file) { file.replaceFails = true; },      // locked by another program
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

TEST(FakeProfileFile, ParsesTextAsTheProfileFunctionsDo) {
    using namespace std::string_literals;
    auto file = FakeProfileFile::FromText("top=1\n[S]\r\n; note\n  key = 'quoted' \n[broken\nzero=a\0b\n\n[T]x]\nk=\"\"\"\n"s);
    EXPECT_EQ(file.GetSectionNames(kPath, 64).bytes, "S\0T]x\0"s);
    EXPECT_EQ(file.GetString(kPath, "S", std::nullopt, "", 64).bytes, "key\0[broken\0zero\0"s);
    EXPECT_EQ(file.GetString(kPath, "S", std::string("key"), "", 64).bytes, "quoted");
    EXPECT_EQ(file.GetString(kPath, "S", std::string("zero"), "", 64).bytes, "a");
    EXPECT_EQ(file.GetString(kPath, "T]x", std::string("k"), "", 64).bytes, "\"");
    ASSERT_TRUE(file.WriteString(kPath, "S", "KEY", " \tnew "));
    EXPECT_EQ(file.ToText(), "top=1\n[S]\n; note\nkey=new \n[broken\nzero=a\n[T]x]\nk=\"\"\"\n");
}

TEST(FakeProfileFile, ReportsCutResultsAsTheProfileFunctionsDo) {
    auto file = FakeProfileFile::FromText("[S]\nkey=abcdef\nother=1\n");
    const auto value = file.GetString(kPath, "S", std::string("KEY"), "", 4);
    EXPECT_EQ(value.bytes, "abc");
    EXPECT_EQ(value.copied, 3u);
    const auto keys = file.GetString(kPath, "s", std::nullopt, "", 6);
    EXPECT_EQ(keys.copied, 4u);
    EXPECT_EQ(keys.bytes.substr(0, 4), std::string("key\0", 4));
    EXPECT_EQ(file.GetString(kPath, "S", std::string("missing"), "dflt", 64).bytes, "dflt");
}

}  // namespace
}  // namespace quorvel
