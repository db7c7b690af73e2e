#include <gtest/gtest.h>

#include <string>

#include "fakes/FakeDialogs.h"
#include "fakes/FakeLog.h"
#include "fakes/FakeProfileFile.h"
#include "model/Model.h"
#include "model/PressDefinition.h"
#include "settings/ButtonMapFile.h"

namespace quorvel {
namespace {

const std::u16string kPath = u"C:\\Quorvel\\Quorvel.ini";

std::string Saved(FakeProfileFile& file, ButtonMap& map) {
    FakeDialogs dialogs;
    EXPECT_TRUE(SaveButtonMap(file, dialogs, kPath, map));
    return file.ToText();
}

TEST(LoadButtonMap, ReadsProgramsAndTheirSectionsMatchingNamesWithoutCase) {
    auto file = FakeProfileFile::FromText(
        "[Programs]\nvlc.exe=1\nodd.exe=7\n[Keys@x]y]\n0000A35C=0041\n[Keys@VLC.EXE]\n0000A35C=0041\n"
        "[Mouse@hand.exe]\n0000A35C\n[Keys@]\nx=1\n[Other@x.exe]\nk=v\n[Keys]\n0000A35C=0042\n");
    FakeLog log;
    const ButtonMap map = LoadButtonMap(file, kPath, log);

    ASSERT_EQ(map.Programs().size(), 3u);
    EXPECT_EQ(map.Programs()[0].name, "vlc.exe");
    EXPECT_EQ(map.Programs()[0].mode, 1);
    EXPECT_EQ(*map.Programs()[0][Section::Keys].Find("0000a35c"), "0041");
    EXPECT_EQ(map.Programs()[1].name, "odd.exe");
    EXPECT_EQ(map.Programs()[1].mode, 0);
    EXPECT_EQ(map.Programs()[2].name, "hand.exe");
    EXPECT_EQ(map.Programs()[2][Section::Mouse].Find("0000A35C"), nullptr) << "a line without '=' is no entry";
    EXPECT_EQ(*map.Lookup(Section::Keys, "0000A35C"), "0042");
    ASSERT_EQ(log.lines.size(), 2u);
    EXPECT_EQ(log.lines[0],
              "Button map: program \"x]y\" skipped: The program name cannot hold '=', '[', ']' or control characters.");
    EXPECT_EQ(log.lines[1], "Button map: program \"\" skipped: The program name is empty.");
}

// As Windows folds them, "\xE9" (small e acute) and "\xC9" (capital E acute) are one letter; "\x82" starts a
// double-byte character, whose second byte is no letter of its own.
TEST(LoadButtonMap, MatchesProgramNamesAsTheSystemFoldsTheirLetters) {
    auto file = FakeProfileFile::FromText("[Programs]\n\xE9t\xE9.exe=2\n\x82""a.exe=1\n[Keys@\xC9T\xC9.EXE]\n00000001=0041\n"
                                          "[Keys@\x82""A.exe]\n00000001=0042\n");
    file.letterCase.SetUpper('\xE9', '\xC9');
    file.letterCase.SetLeadByte('\x82');
    FakeLog log;
    ButtonMap map = LoadButtonMap(file, kPath, log);

    ASSERT_EQ(map.Programs().size(), 3u);
    EXPECT_EQ(*map.FindProgram("\xC9t\xC9.exe")->operator[](Section::Keys).Find("00000001"), "0041");
    EXPECT_EQ(map.Programs()[2].name, "\x82""A.exe");
    map.RemoveProgram("\xC9T\xE9.EXE");
    EXPECT_EQ(map.FindProgram("\xE9t\xE9.exe"), nullptr);
    EXPECT_EQ(Saved(file, map),
              "[Programs]\n\x82""a.exe=1\n\x82""A.exe=0\r\n[Keys@\x82""A.exe]\n00000001=0042\n[RC]\r\nName=RC\r\n");
}

TEST(LoadButtonMap, ReadsAtMostTheProgramLimitAndLeavesTheRestInTheFile) {
    std::string text = "[Programs]\n";
    for (int i = 0; i < 300; ++i) text += "p" + std::to_string(i) + ".exe=2\n";
    text += "[Keys@p299.exe]\n00000001=0041\n";
    auto file = FakeProfileFile::FromText(text);
    FakeLog log;
    ButtonMap map = LoadButtonMap(file, kPath, log);

    EXPECT_EQ(map.Programs().size(), kMaxPrograms);
    EXPECT_EQ(map.Programs().back().name, "p255.exe");
    EXPECT_EQ(log.lines.size(), 44u);
    const std::string saved = Saved(file, map);
    EXPECT_NE(saved.find("p299.exe=2\n[Keys@p299.exe]\n00000001=0041\n"), std::string::npos);
}

TEST(SaveButtonMap, WritesProgramsAfterTheGlobalMapAndTakesOutWhatWasRemoved) {
    auto file = FakeProfileFile::FromText(
        "[Foreign]\na=1\n[Programs]\nold.exe=2\nvlc.exe=0\n[Keys@old.exe]\n00000001=0041\n"
        "[Keys@vlc.exe]\n00000001=0041\n00000002=0042\n");
    FakeLog log;
    ButtonMap map = LoadButtonMap(file, kPath, log);
    map.RemoveProgram("OLD.EXE");
    map.RemoveProgramButton("vlc.exe", "00000001");
    ProgramMap& added = map.AddProgram("mpc.exe");
    added.mode = 4;
    added[Section::Messages].Set("00000003", "10");

    const std::string saved = "[Foreign]\na=1\n[Programs]\nvlc.exe=0\nmpc.exe=4\r\n[Keys@vlc.exe]\n00000002=0042\n"
                              "[RC]\r\nName=RC\r\n[Messages@mpc.exe]\r\n00000003=10\r\n";
    EXPECT_EQ(Saved(file, map), saved);
    // Done with once written: a program of that name added again is saved as it is then.
    EXPECT_TRUE(map.Erasures().empty());
    map.AddProgram("old.exe")[Section::Keys].Set("00000001", "0043");
    EXPECT_EQ(Saved(file, map), saved.substr(0, saved.find("[Keys@")) + "old.exe=0\r\n" +
                                    saved.substr(saved.find("[Keys@")) + "[Keys@old.exe]\r\n00000001=0043\r\n");
}

TEST(ChooseDefinition, TakesTheProgramsOwnButtonAndModeElseTheGlobalOnesForTheButtonAndItsLongPress) {
    ButtonMap map;
    ProgramMap& player = map.AddProgram("Player.exe");
    player.mode = 1;
    player[Section::Repeat].Set("00000001", "0");
    player[Section::Keys].Set("00000001-Long", "0041");
    ProgramMap& follower = map.AddProgram("Follower.exe");
    follower[Section::Keys].Set("00000002", "0041");
    // A long press counts only where it does something: not by a name alone, and not where a
    // program's own long press does nothing. Keys match without regard to case.
    map[Section::Buttons].Set("00000002-LONG", "Menu");
    map[Section::Buttons].Set("00000003-Long", "Close");
    map[Section::Actions].Set("00000003-Long", "3");
    follower[Section::Keys].Set("00000003-Long", "0000");
    struct Case {
        const char* program;
        const char* key;
        PressDefinition expected;
    };
    using enum EmulationMode;
    const Case cases[] = {
        {"player.EXE", "00000001", {"Player.exe", true, WinLIRC, true, true, true}},
        {"Player.exe", "00000002", {"Player.exe", false, WinLIRC, false, false, true}},
        {"Player.exe", "00000003", {"Player.exe", false, WinLIRC, true, false, true}},
        {"Follower.exe", "00000002", {"Follower.exe", true, Keys}},
        {"Follower.exe", "00000001", {"Follower.exe", false, Keys}},
        {"Follower.exe", "00000003", {"Follower.exe", false, Keys, false, true}},
        {"Other.exe", "00000001", {"", false, Keys}},
        {"", "00000002", {"", false, Keys}},
        {"", "00000003", {"", false, Keys, true, false}},
    };
    for (const Case& c : cases) {
        const PressDefinition chosen = ChooseDefinition(map, {c.program, c.key, Keys});
        EXPECT_EQ(chosen, c.expected) << c.program << ' ' << c.key;
        EXPECT_EQ(DefiningProgram(map, chosen), c.expected.own ? map.FindProgram(c.program) : nullptr);
        EXPECT_EQ(DefiningProgram(map, chosen, Gesture::Long), c.expected.longOwn ? map.FindProgram(c.program) : nullptr);
    }
}

TEST(ButtonMap, ADefinitionGivesAnOutputWhenAPressWouldDoSomething) {
    struct Case {
        Section section;
        const char* value;
        bool gives;
    };
    const Case cases[] = {
        {Section::Actions, "0", false},      {Section::Actions, "7", false},      {Section::Actions, "-1", false},
        {Section::Actions, "5", true},       {Section::Mouse, "00", false},       {Section::Mouse, "3", true},
        {Section::Keys, "0000", false},      {Section::Keys, "10000", false},     {Section::Keys, "x", false},
        {Section::Keys, "1000", true},       {Section::Messages, "0", false},     {Section::Messages, "12", true},
        {Section::Applications, "", false},  {Section::Applications, "a.exe", true},
        {Section::Repeat, "1", false},       {Section::Buttons, "Menu", false},
    };
    for (const Case& c : cases) {
        ButtonMap map;
        map[c.section].Set("K", c.value);
        ProgramMap& program = map.AddProgram("p.exe");
        if (c.section != Section::Buttons) program[c.section].Set("k", c.value);
        EXPECT_EQ(map.GivesOutput(nullptr, "k"), c.gives) << SectionName(c.section) << ' ' << c.value;
        EXPECT_EQ(map.GivesOutput(&program, "K"), c.gives) << SectionName(c.section) << ' ' << c.value;
    }
}

}  // namespace
}  // namespace quorvel
