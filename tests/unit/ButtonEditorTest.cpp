#include <gtest/gtest.h>

#include "engine/ButtonEditor.h"
#include "engine/ButtonMap.h"
#include "fakes/FakeForm.h"

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
        ListControl list;
        int index;
    };
    const Case cases[] = {
        {Section::Actions, "3", ListControl::NameActionCB, 3},
        {Section::Actions, "x3", ListControl::NameActionCB, 0},
        {Section::Actions, "7", ListControl::NameActionCB, -1},    // outside the list: nothing chosen
        {Section::Actions, "261", ListControl::NameActionCB, 5},  // low 8 bits
        {Section::Actions, "-1", ListControl::NameActionCB, -1},
        {Section::Mouse, "10", ListControl::MsCB, 10},
        {Section::Mouse, "", ListControl::MsCB, 0},
        {Section::Messages, "10", ListControl::NameMessageCB, 10},
        {Section::Messages, "1 0", ListControl::NameMessageCB, 0},
    };
    for (const Case& c : cases) {
        FakeForm form;
        LoadButtonProperties(MapWith(c.section, c.stored), kKey, form);
        EXPECT_EQ(form.GetItemIndex(c.list), c.index) << c.stored;
    }
}

TEST(LoadButtonProperties, RepeatIsOnOnlyForExactlyOneOrWhenAbsent) {
    for (const auto& [stored, checked] : {std::pair{"1", true}, {"0", false}, {"01", false}, {"yes", false}}) {
        FakeForm form;
        LoadButtonProperties(MapWith(Section::Repeat, stored), kKey, form);
        EXPECT_EQ(form.IsChecked(CheckControl::KeyRepeatCB), checked) << stored;
    }
    FakeForm form;
    LoadButtonProperties(ButtonMap(), kKey, form);
    EXPECT_TRUE(form.IsChecked(CheckControl::KeyRepeatCB));
}

TEST(LoadButtonProperties, KeysSplitTheWinBitIntoItsCheckBox) {
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
        {"zz", "None", 0, false, 0},
        {"", "None", 0, false, 0},
    };
    for (const Case& c : cases) {
        FakeForm form;
        form.SetChecked(CheckControl::LWinCB, !c.win);
        const ButtonProperties p = LoadButtonProperties(MapWith(Section::Keys, c.stored), kKey, form);
        EXPECT_EQ(form.GetText(TextControl::KeyE), c.text) << c.stored;
        EXPECT_EQ(form.KeyCodeValue(), c.editorValue) << c.stored;
        EXPECT_EQ(form.IsChecked(CheckControl::LWinCB), c.win) << c.stored;
        EXPECT_EQ(p.keyCodeValue, c.sent) << c.stored;
    }
}

TEST(LoadButtonProperties, AbsentButtonClearsTheEditor) {
    FakeForm form;
    form.SetText(TextControl::RunE, "C:\\old.exe");
    form.SetText(TextControl::KeyE, "Ctrl+A");
    const ButtonProperties p = LoadButtonProperties(ButtonMap(), kKey, form);
    EXPECT_EQ(form.GetText(TextControl::RunE), "");
    EXPECT_EQ(form.GetText(TextControl::KeyE), "None");
    EXPECT_EQ(form.GetItemIndex(ListControl::NameActionCB), 0);
    EXPECT_EQ(p.action, 0);
    EXPECT_EQ(p.applicationPath, "");
}

class SaveButtonPropertiesTest : public ::testing::Test {
protected:
    void Edit(const std::string& name, bool win) {
        form.SetText(TextControl::NameRCCodeExST, kKey);
        form.SetText(TextControl::NameE, name);
        form.SetChecked(CheckControl::KeyRepeatCB, false);
        form.SetItemIndex(ListControl::NameActionCB, 2);
        form.SetItemIndex(ListControl::MsCB, 9);
        form.SetKeyCodeValue(0x0020);
        form.SetChecked(CheckControl::LWinCB, win);
        form.SetText(TextControl::RunE, "C:\\Tools\\player.exe");
        form.SetItemIndex(ListControl::NameMessageCB, 10);
    }
    FakeForm form;
    ButtonMap map;
};

TEST_F(SaveButtonPropertiesTest, StoresEverySectionUnderTheShownKey) {
    Edit("Play", true);
    ASSERT_TRUE(SaveButtonProperties(form, map));
    EXPECT_EQ(*map.Lookup(Section::Buttons, kKey), "Play");
    EXPECT_EQ(*map.Lookup(Section::Repeat, kKey), "0");
    EXPECT_EQ(*map.Lookup(Section::Actions, kKey), "2");
    EXPECT_EQ(*map.Lookup(Section::Mouse, kKey), "9");
    EXPECT_EQ(*map.Lookup(Section::Keys, kKey), "1020");
    EXPECT_EQ(*map.Lookup(Section::Applications, kKey), "C:\\Tools\\player.exe");
    EXPECT_EQ(*map.Lookup(Section::Messages, kKey), "10");
}

TEST_F(SaveButtonPropertiesTest, LoadThenSaveUnchangedStoresTheSameKeyValue) {
    map[Section::Keys].Append(kKey, "1041");
    form.SetText(TextControl::NameRCCodeExST, kKey);
    LoadButtonProperties(map, kKey, form);
    ASSERT_TRUE(SaveButtonProperties(form, map));
    EXPECT_EQ(*map.Lookup(Section::Keys, kKey), "1041");
    form.SetChecked(CheckControl::LWinCB, false);
    ASSERT_TRUE(SaveButtonProperties(form, map));
    EXPECT_EQ(*map.Lookup(Section::Keys, kKey), "0041");
}

TEST_F(SaveButtonPropertiesTest, ReplacesExistingEntriesAndAppendsMissingOnes) {
    map[Section::Buttons].Append("0000a35c", "Old");
    Edit("New", false);
    ASSERT_TRUE(SaveButtonProperties(form, map));
    EXPECT_EQ(map[Section::Buttons].Size(), 1u);
    EXPECT_EQ(map[Section::Buttons].ValueAt(0), "New");
    EXPECT_EQ(map[Section::Actions].Size(), 1u);
    EXPECT_EQ(map[Section::Keys].ValueAt(0), "0020");
}

TEST_F(SaveButtonPropertiesTest, NothingChosenIsStoredAsMinusOne) {
    Edit("X", false);
    form.SetItemIndex(ListControl::NameActionCB, -1);
    ASSERT_TRUE(SaveButtonProperties(form, map));
    EXPECT_EQ(*map.Lookup(Section::Actions, kKey), "-1");
}

TEST_F(SaveButtonPropertiesTest, RefusesThePlaceholderShownBeforeTheFirstButton) {
    Edit("X", false);
    form.SetText(TextControl::NameRCCodeExST, "...");
    EXPECT_FALSE(SaveButtonProperties(form, map));
    for (Section section : kSectionOrder) EXPECT_EQ(map[section].Size(), 0u);
}

TEST_F(SaveButtonPropertiesTest, AcceptsTheZeroCodeOfComproKeyZero) {
    Edit("Zero", false);
    form.SetText(TextControl::NameRCCodeExST, "00000000");
    EXPECT_TRUE(SaveButtonProperties(form, map));
    EXPECT_EQ(*map.Lookup(Section::Buttons, "00000000"), "Zero");
}

}  // namespace
}  // namespace quorvel
