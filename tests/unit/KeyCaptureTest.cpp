#include <gtest/gtest.h>

#include "actions/KeyText.h"
#include "actions/KeyCapture.h"

namespace quorvel {
namespace {

constexpr KeyModifiers kNone{};
constexpr KeyModifiers kCtrl{true, false, false};
constexpr KeyModifiers kShift{false, false, true};
constexpr KeyModifiers kCtrlAlt{true, true, false};
constexpr KeyModifiers kCtrlShift{true, false, true};
constexpr KeyModifiers kAll{true, true, true};

constexpr std::uint16_t kBackspace = 0x08;
constexpr std::uint16_t kControl = 0x11;
constexpr std::uint16_t kMenu = 0x12;
constexpr std::uint16_t kLeftWin = 0x5B;

TEST(CaptureKeyDown, BuildsTextAndValueFromModifiersAndKey) {
    struct Case {
        std::uint16_t virtualKey;
        KeyModifiers held;
        CapturedKey expected;
    };
    const Case cases[] = {
        {'A', kShift, {"Shift+A", 0x2041}},
        {0x74, kCtrlShift, {"Ctrl+Shift+F5", 0xA074}},
        {'D', kCtrlAlt, {"Ctrl+Alt+D", 0xC044}},
        {'7', kNone, {"7", 0x0037}},
        {0x73, {false, true, false}, {"Alt+F4", 0x4073}},
        // Modifiers alone make a combination of their own.
        {kControl, kCtrl, {"Ctrl", 0x8000}},
        {kMenu, kCtrlAlt, {"Ctrl+Alt", 0xC000}},
        // Keys the field does not take add nothing.
        {kLeftWin, kNone, {"None", 0}},
        {kLeftWin, kCtrl, {"Ctrl", 0x8000}},
        {0xAF, kNone, {"None", 0}},  // Volume Up comes from the list only
        {0xA6, kShift, {"Shift", 0x2000}},
        {0xDF, kNone, {"None", 0}},
        {0xFF, kAll, {"Ctrl+Alt+Shift", 0xE000}},
        // Backspace clears the field whatever is held.
        {kBackspace, kNone, {"None", 0}},
        {kBackspace, kCtrl, {"None", 0}},
        // Keys a text field would act on are captured like any other.
        {0x25, kNone, {"Left Arrow", 0x0025}},
        {0x28, kShift, {"Shift+Down Arrow", 0x2028}},
        {0x0D, kNone, {"Enter", 0x000D}},
        {0x1B, kNone, {"Esc", 0x001B}},
        {0x09, kCtrl, {"Ctrl+Tab", 0x8009}},
        {0x6A, kNone, {"Num *", 0x006A}},
        {0x91, kNone, {"Scroll Lock", 0x0091}},
        {0xDE, kNone, {"'", 0x00DE}},
        {0xC0, kCtrl, {"Ctrl+`", 0x80C0}},
        {0x3A, kNone, {":", 0x003A}},  // the character range has no gaps
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CaptureKeyDown(c.virtualKey, c.held), c.expected) << c.virtualKey;
    }
}

// A captured combination must read back as the same text once it has been stored and loaded.
TEST(CaptureKeyDown, TextIsAlwaysTheKeyTextOfTheValueAndNeverSetsWin) {
    for (int mask = 0; mask < 8; ++mask) {
        const KeyModifiers held{(mask & 1) != 0, (mask & 2) != 0, (mask & 4) != 0};
        for (std::uint16_t key = 0; key < 0x100; ++key) {
            const CapturedKey captured = CaptureKeyDown(key, held);
            EXPECT_EQ(captured.text, KeyText(captured.value)) << key << " " << mask;
            EXPECT_EQ(captured.value & 0x1000, 0) << key;
            const std::uint16_t keyPart = captured.value & 0x0FFF;
            EXPECT_TRUE(keyPart == 0 || keyPart == key) << key;
            if (key != kBackspace) {
                EXPECT_EQ((captured.value & 0x8000) != 0, held.ctrl) << key;
                EXPECT_EQ((captured.value & 0x4000) != 0, held.alt) << key;
                EXPECT_EQ((captured.value & 0x2000) != 0, held.shift) << key;
            }
        }
    }
}

TEST(PresetKey, ListsTheEighteenKeysInOrderWithTheirOwnNames) {
    const std::vector<std::string> captions = {
        "Tab",          "Backspace",      "Browser Back", "Browser Forward", "Browser Refresh", "Browser Stop",
        "Browser Search", "Browser Favorites", "Browser Home", "Volume Mute", "Volume Down",    "Volume Up",
        "Next Track",   "Previous Track", "Stop Media",   "Play/Pause Media", "Start Mail",     "Select Media",
    };
    EXPECT_EQ(PresetKeyCaptions(), captions);
    const std::uint16_t values[] = {9, 8, 166, 167, 168, 169, 170, 171, 172,
                                    173, 174, 175, 176, 177, 178, 179, 180, 181};
    for (int i = 0; i < 18; ++i) {
        const auto key = PresetKey(i);
        ASSERT_TRUE(key) << i;
        EXPECT_EQ(key->value, values[i]) << i;
        EXPECT_EQ(key->text, captions[static_cast<std::size_t>(i)]) << i;
    }
    EXPECT_FALSE(PresetKey(-1));
    EXPECT_FALSE(PresetKey(18));
}

}  // namespace
}  // namespace quorvel
