#include <gtest/gtest.h>

#include <string>

#include "actions/KeyText.h"

namespace quorvel {
namespace {

struct NamedKeyCase {
    std::uint16_t virtualKey;
    const char* name;
};

// Every named key that is not a digit or letter key.
constexpr NamedKeyCase kNamedKeys[] = {
    {0x08, "Backspace"},
    {0x09, "Tab"},
    {0x0D, "Enter"},
    {0x13, "Pause"},
    {0x14, "Caps Lock"},
    {0x1B, "Esc"},
    {0x20, "Spacebar"},
    {0x21, "Page Up"},
    {0x22, "Page Down"},
    {0x23, "End"},
    {0x24, "Home"},
    {0x25, "Left Arrow"},
    {0x26, "Up Arrow"},
    {0x27, "Right Arrow"},
    {0x28, "Down Arrow"},
    {0x2C, "Print Screen"},
    {0x2D, "Insert"},
    {0x2E, "Delete"},
    {0x60, "Num 0"},
    {0x61, "Num 1"},
    {0x62, "Num 2"},
    {0x63, "Num 3"},
    {0x64, "Num 4"},
    {0x65, "Num 5"},
    {0x66, "Num 6"},
    {0x67, "Num 7"},
    {0x68, "Num 8"},
    {0x69, "Num 9"},
    {0x6A, "Num *"},
    {0x6B, "Num +"},
    {0x6D, "Num -"},
    {0x6E, "Num ."},
    {0x6F, "Num /"},
    {0x70, "F1"},
    {0x71, "F2"},
    {0x72, "F3"},
    {0x73, "F4"},
    {0x74, "F5"},
    {0x75, "F6"},
    {0x76, "F7"},
    {0x77, "F8"},
    {0x78, "F9"},
    {0x79, "F10"},
    {0x7A, "F11"},
    {0x7B, "F12"},
    {0x90, "Num Lock"},
    {0x91, "Scroll Lock"},
    {0xA6, "Browser Back"},
    {0xA7, "Browser Forward"},
    {0xA8, "Browser Refresh"},
    {0xA9, "Browser Stop"},
    {0xAA, "Browser Search"},
    {0xAB, "Browser Favorites"},
    {0xAC, "Browser Home"},
    {0xAD, "Volume Mute"},
    {0xAE, "Volume Down"},
    {0xAF, "Volume Up"},
    {0xB0, "Next Track"},
    {0xB1, "Previous Track"},
    {0xB2, "Stop Media"},
    {0xB3, "Play/Pause Media"},
    {0xB4, "Start Mail"},
    {0xB5, "Select Media"},
    {0xBA, ";"},
    {0xBB, "="},
    {0xBC, ","},
    {0xBD, "-"},
    {0xBE, "."},
    {0xBF, "/"},
    {0xC0, "`"},
    {0xDB, "["},
    {0xDC, "\\"},
    {0xDD, "]"},
    {0xDE, "'"},
};

TEST(KeyText, NamesEachOfTheSeventyFourNamedKeys) {
    ASSERT_EQ(std::size(kNamedKeys), 74u);
    for (const NamedKeyCase& key : kNamedKeys) {
        EXPECT_EQ(KeyText(key.virtualKey), key.name) << "virtual key 0x" << std::hex << key.virtualKey;
    }
}

TEST(KeyText, NamesDigitAndLetterKeysByTheirCharacter) {
    for (std::uint16_t key = 0x30; key <= 0x5A; ++key) {
        EXPECT_EQ(KeyText(key), std::string(1, static_cast<char>(key))) << "virtual key 0x" << std::hex << key;
    }
    EXPECT_EQ(KeyText(0x30), "0");
    EXPECT_EQ(KeyText(0x3A), ":");
    EXPECT_EQ(KeyText(0x40), "@");
    EXPECT_EQ(KeyText(0x5A), "Z");
}

TEST(KeyText, NamesNoOtherKey) {
    int named = 0;
    for (std::uint16_t key = 1; key <= 0x0FFF; ++key) {
        named += KeyName(key).empty() ? 0 : 1;
    }
    EXPECT_EQ(named, 74 + 43);
}

struct KeyTextCase {
    std::uint16_t value;
    const char* text;
};

class KeyTextOfValue : public testing::TestWithParam<KeyTextCase> {};

TEST_P(KeyTextOfValue, JoinsCtrlAltShiftAndTheKeyInThatOrder) {
    EXPECT_EQ(KeyText(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(KeyText, KeyTextOfValue,
                         testing::Values(KeyTextCase{0x0000, "None"},
                                         KeyTextCase{0x8041, "Ctrl+A"},
                                         KeyTextCase{0x6070, "Alt+Shift+F1"},
                                         KeyTextCase{0xC02E, "Ctrl+Alt+Delete"},
                                         KeyTextCase{0xA074, "Ctrl+Shift+F5"},
                                         KeyTextCase{0x2041, "Shift+A"},
                                         KeyTextCase{0xE0DC, "Ctrl+Alt+Shift+\\"},
                                         KeyTextCase{0x0020, "Spacebar"},
                                         KeyTextCase{0x8000, "Ctrl"},
                                         KeyTextCase{0x4000, "Alt"},
                                         KeyTextCase{0x2000, "Shift"},
                                         KeyTextCase{0xE000, "Ctrl+Alt+Shift"},
                                         // Win is shown by its check box, never in the text.
                                         KeyTextCase{0x1000, ""},
                                         KeyTextCase{0x1041, "A"},
                                         KeyTextCase{0xF041, "Ctrl+Alt+Shift+A"},
                                         KeyTextCase{0x9000, "Ctrl"},
                                         // Keys without a name leave only the modifiers.
                                         KeyTextCase{0x006C, ""},
                                         KeyTextCase{0x805B, "Ctrl"},
                                         KeyTextCase{0x4011, "Alt"},
                                         // The whole key part counts, not its low byte.
                                         KeyTextCase{0x0141, ""},
                                         KeyTextCase{0x8FFF, "Ctrl"}));

}  // namespace
}  // namespace quorvel
