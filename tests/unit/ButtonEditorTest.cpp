#include <gtest/gtest.h>

#include "engine/ButtonEditor.h"
#include "model/Model.h"

namespace quorvel {
namespace {

const std::string kKey = "0000A35C";

ButtonMap MapWith(Section section, const std::string& value) {
    ButtonMap map;
    map[section].Append(kKey, value);
    return map;
}

TEST(LoadButtonProperties, ReadsNumbersOrFallsBackPerSection) {
    struct Case {
        Section section;
        const char* stored;
        int EditorButton::*choice;
        int index;
    };
    const Case cases[] = {
        {Section::Actions, "3", &EditorButton::action, 3},
        {Section::Actions, "x3", &EditorButton::action, 0},
        {Section::Actions, "7", &EditorButton::action, -1},    // outside the list: nothing chosen
        {Section::Actions, "261", &EditorButton::action, 5},  // low 8 bits
        {Section::Actions, "-1", &EditorButton::action, -1},
        {Section::Mouse, "10", &EditorButton::mouseAction, 10},
        {Section::Mouse, "11", &EditorButton::mouseAction, -1},
        {Section::Mouse, "", &EditorButton::mouseAction, 0},
        {Section::Messages, "10", &EditorButton::message, 10},
        {Section::Messages, "1 0", &EditorButton::message, 0},
    };
    for (const Case& c : cases) {
        EditorButton editor;
        LoadButtonProperties(MapWith(c.section, c.stored), kKey, editor);
        EXPECT_EQ(editor.*c.choice, c.index) << c.stored;
    }
}

TEST(LoadButtonProperties, RepeatIsOnOnlyForExactlyOneOrWhenAbsent) {
    for (const auto& [stored, on] : {std::pair{"1", true}, {"0", false}, {"01", false}, {"yes", false}}) {
        EditorButton editor;
        LoadButtonProperties(MapWith(Section::Repeat, stored), kKey, editor);
        EXPECT_EQ(editor.repeat, on) << stored;
    }
    EditorButton editor;
    LoadButtonProperties(ButtonMap(), kKey, editor);
    EXPECT_TRUE(editor.repeat);
}

TEST(LoadButtonProperties, KeysSplitTheWinBitIntoItsFlag) {
    struct Case {
        const char* stored;
        const char* text;
        std::uint16_t editorValue;
        bool win;
        std::uint16_t sent;
    };
    const Case cases[] = {
        {"1044", "D", 0x0044, true, 0x1044},
        {"8041", "Ctrl+A", 0x8041, false, 0x8041},
        {"1020", "Spacebar", 0x0020, true, 0x1020},
        {"1F8041", "Ctrl+A", 0x8041, false, 0x8041},  // low 16 bits
        {"zz", "None", 0, false, 0},                  // a key entry that is not hexadecimal fills None
        {"10zz", "None", 0, false, 0},
        {"", "None", 0, false, 0},
    };
    for (const Case& c : cases) {
        EditorButton editor;
        editor.win = !c.win;
        const ButtonProperties p = LoadButtonProperties(MapWith(Section::Keys, c.stored), kKey, editor);
        EXPECT_EQ(editor.keyText, c.text) << c.stored;
        EXPECT_EQ(editor.keyCodeValue, c.editorValue) << c.stored;
        EXPECT_EQ(editor.win, c.win) << c.stored;
        EXPECT_EQ(p.keyCodeValue, c.sent) << c.stored;
    }
}

TEST(LoadButtonProperties, AbsentButtonClearsTheEditorButKeepsWhichButtonItIs) {
    EditorButton editor;
    editor.extendedCode = 0xA35C;
    editor.name = "Play";
    editor.applicationPath = "C:\\old.exe";
    editor.keyText = "Ctrl+A";
    editor.keyCodeValue = 0x8041;
    editor.repeat = false;
    editor.action = editor.mouseAction = editor.message = 3;
    const ButtonProperties p = LoadButtonProperties(ButtonMap(), kKey, editor);
    EditorButton cleared;
    cleared.extendedCode = 0xA35C;
    cleared.name = "Play";
    cleared.repeat = true;
    cleared.action = cleared.mouseAction = cleared.message = 0;
    EXPECT_EQ(editor, cleared);
    EXPECT_EQ(p.action, 0);
    EXPECT_EQ(p.applicationPath, "");
}

class CommitEditorTest : public ::testing::Test {
protected:
    CommitEditorTest() {
        editor.extendedCode = 0xA35C;
        editor.name = "Play";
        editor.repeat = false;
        editor.action = 2;
        editor.mouseAction = 9;
        editor.keyCodeValue = 0x0020;
        editor.win = true;
        editor.applicationPath = "C:\\Tools\\player.exe";
        editor.message = 10;
    }
    EditorButton editor;
    ButtonMap map;
};

TEST_F(CommitEditorTest, StoresEverySectionUnderTheEditedButtonsKey) {
    ASSERT_TRUE(CommitEditor(editor, map));
    const std::pair<Section, const char*> stored[] = {
        {Section::Buttons, "Play"}, {Section::Repeat, "0"}, {Section::Actions, "2"},
        {Section::Mouse, "9"},      {Section::Keys, "1020"}, {Section::Applications, "C:\\Tools\\player.exe"},
        {Section::Messages, "10"},
    };
    for (const auto& [section, value] : stored) EXPECT_EQ(*map.Lookup(section, kKey), value);
}

TEST_F(CommitEditorTest, LoadThenCommitUnchangedStoresTheSameKeyValueAndTheWinFlagDecides) {
    map[Section::Keys].Append(kKey, "1041");
    LoadButtonProperties(map, kKey, editor);
    ASSERT_TRUE(CommitEditor(editor, map));
    EXPECT_EQ(*map.Lookup(Section::Keys, kKey), "1041");
    editor.win = false;
    ASSERT_TRUE(CommitEditor(editor, map));
    EXPECT_EQ(*map.Lookup(Section::Keys, kKey), "0041");
}

TEST_F(CommitEditorTest, ReplacesExistingEntriesAndAppendsMissingOnes) {
    map[Section::Buttons].Append("0000a35c", "Old");
    editor.name = "New";
    editor.win = false;
    ASSERT_TRUE(CommitEditor(editor, map));
    EXPECT_EQ(map[Section::Buttons].Size(), 1u);
    EXPECT_EQ(map[Section::Buttons].ValueAt(0), "New");
    EXPECT_EQ(map[Section::Actions].Size(), 1u);
    EXPECT_EQ(map[Section::Keys].ValueAt(0), "0020");
}

TEST_F(CommitEditorTest, NothingChosenIsStoredAsMinusOne) {
    editor.action = -1;
    ASSERT_TRUE(CommitEditor(editor, map));
    EXPECT_EQ(*map.Lookup(Section::Actions, kKey), "-1");
}

TEST_F(CommitEditorTest, RefusesBeforeTheFirstButtonWasRead) {
    editor.extendedCode.reset();
    EXPECT_FALSE(CommitEditor(editor, map));
    for (Section section : kSectionOrder) EXPECT_EQ(map[section].Size(), 0u);
}

TEST_F(CommitEditorTest, AcceptsTheZeroCodeOfComproKeyZero) {
    editor.extendedCode = 0;
    EXPECT_TRUE(CommitEditor(editor, map));
    EXPECT_EQ(*map.Lookup(Section::Buttons, "00000000"), "Play");
}

}  // namespace
}  // namespace quorvel
