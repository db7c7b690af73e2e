#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "actions/Keyboard.h"
#include "fakes/FakeInput.h"

namespace quorvel {
namespace {

InputCall Press(std::uint8_t virtualKey) { return InputCall::Key(virtualKey, 1); }
InputCall Release(std::uint8_t virtualKey) { return InputCall::Key(virtualKey, 3); }
const InputCall kPump = InputCall::Pump();

struct KeystrokeCase {
    const char* description;
    std::uint16_t value;
    std::vector<InputCall> calls;
};

class Keystroke : public testing::TestWithParam<KeystrokeCase> {};

TEST_P(Keystroke, SendsTheExactEventsWithFlagsAndPumpingPoints) {
    FakeInput input;
    SendKeyCodeValue(input, GetParam().value);
    EXPECT_EQ(input.Calls(), GetParam().calls);
}

INSTANTIATE_TEST_SUITE_P(
    Keyboard, Keystroke,
    testing::Values(
        KeystrokeCase{"CtrlA", 0x8041,
                      {Press(0x11), kPump, Press(0x41), kPump, Release(0x41), kPump, Release(0x11), kPump}},
        KeystrokeCase{"EveryModifierWithA", 0xF041,
                      {Press(0x5B), Press(0x11), Press(0x12), Press(0x10), kPump, Press(0x41), kPump, Release(0x41),
                       kPump, Release(0x11), Release(0x12), Release(0x10), Release(0x5B), kPump}},
        KeystrokeCase{"BareWin", 0x1000, {Press(0x5B), kPump, kPump, kPump, Release(0x5B), kPump}},
        KeystrokeCase{"BareCtrl", 0x8000, {Press(0x11), kPump, kPump, kPump, Release(0x11), kPump}},
        KeystrokeCase{"NoKey", 0x0000, {kPump, kPump, kPump, kPump}},
        KeystrokeCase{"UnnamedKeyIsStillSent", 0x006C, {kPump, Press(0x6C), kPump, Release(0x6C), kPump, kPump}},
        KeystrokeCase{"AltShiftF1", 0x6070,
                      {Press(0x12), Press(0x10), kPump, Press(0x70), kPump, Release(0x70), kPump, Release(0x12),
                       Release(0x10), kPump}},
        KeystrokeCase{"WinD", 0x1044,
                      {Press(0x5B), kPump, Press(0x44), kPump, Release(0x44), kPump, Release(0x5B), kPump}},
        KeystrokeCase{"KeyPartAboveEightBitsSendsItsLowByte", 0x0141,
                      {kPump, Press(0x41), kPump, Release(0x41), kPump, kPump}}),
    [](const testing::TestParamInfo<KeystrokeCase>& info) { return std::string(info.param.description); });

TEST(Keyboard, WithScanCodesEachKeyCarriesItsScanCodeAndOnlyExtendedKeysTheFlag) {
    FakeInput input;
    SendKeyCodeValue(input, 0x8025, KeyStyle::ScanCodes);  // Ctrl+Left Arrow
    EXPECT_EQ(input.Calls(), (std::vector<InputCall>{InputCall::Key(0x11, 0, 0x21), kPump, InputCall::Key(0x25, 1, 0x35),
                                                      kPump, InputCall::Key(0x25, 3, 0x35), kPump,
                                                      InputCall::Key(0x11, 2, 0x21), kPump}));
}

TEST(Keyboard, TypedTextArrivesAsCharacters) {
    FakeInput input;
    TypeText(input, u"\u00E9\U0001F600");
    EXPECT_EQ(input.Calls(), (std::vector<InputCall>{InputCall::Character(0xE9, false), InputCall::Character(0xE9, true),
                                                      InputCall::Character(0xD83D, false), InputCall::Character(0xD83D, true),
                                                      InputCall::Character(0xDE00, false), InputCall::Character(0xDE00, true),
                                                      kPump}));
}

TEST(Keyboard, LeavesNoKeyDownAndPumpsFourTimesForAnyValue) {
    const std::uint16_t keyParts[] = {0x000, 0x008, 0x041, 0x06C, 0x0A6, 0x0DE, 0x0FF};
    for (std::uint16_t modifiers = 0; modifiers < 16; ++modifiers) {
        for (std::uint16_t keyPart : keyParts) {
            const auto value = static_cast<std::uint16_t>((modifiers << 12) | keyPart);
            FakeInput input;
            SendKeyCodeValue(input, value);
            EXPECT_FALSE(input.AnyKeyDown()) << "value 0x" << std::hex << value;
            EXPECT_EQ(std::count(input.Calls().begin(), input.Calls().end(), kPump), 4)
                << "value 0x" << std::hex << value;
        }
    }
}

}  // namespace
}  // namespace quorvel
