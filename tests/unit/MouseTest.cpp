#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <vector>

#include "actions/Mouse.h"
#include "fakes/FakeInput.h"

namespace quorvel {
namespace {

const InputCall kRead = InputCall::GetCursor();

InputCall ClickEvent(std::uint32_t flags) { return InputCall::Mouse(flags, 32768, 32768, 0); }

TEST(Mouse, ListsTheElevenActionsInItemOrder) {
    const std::vector<std::string> expected{
        "None",        "Move Left",    "Move Right",    "Move Up",  "Move Down",  "Click Left",
        "Click Right", "Click Middle", "DblClick Left", "Wheel Up", "Wheel Down",
    };
    EXPECT_EQ(MouseActionNames(), expected);
    EXPECT_EQ(MouseActionNames()[static_cast<std::size_t>(MouseAction::WheelDown)], "Wheel Down");
}

struct MouseCase {
    const char* description;
    std::uint8_t action;
    std::vector<InputCall> calls;
};

class MouseActionCalls : public testing::TestWithParam<MouseCase> {};

TEST_P(MouseActionCalls, ReadsThePointerThenActs) {
    FakeInput input({100, 200});
    PerformMouseAction(input, GetParam().action, 7);
    EXPECT_EQ(input.Calls(), GetParam().calls);
}

INSTANTIATE_TEST_SUITE_P(
    Mouse, MouseActionCalls,
    testing::Values(MouseCase{"None", 0, {kRead}},
                    MouseCase{"MoveLeft", 1, {kRead, InputCall::SetCursor({93, 200})}},
                    MouseCase{"MoveRight", 2, {kRead, InputCall::SetCursor({107, 200})}},
                    MouseCase{"MoveUp", 3, {kRead, InputCall::SetCursor({100, 193})}},
                    MouseCase{"MoveDown", 4, {kRead, InputCall::SetCursor({100, 207})}},
                    MouseCase{"ClickLeft", 5, {kRead, ClickEvent(0x02), ClickEvent(0x04)}},
                    MouseCase{"ClickRight", 6, {kRead, ClickEvent(0x08), ClickEvent(0x10)}},
                    MouseCase{"ClickMiddle", 7, {kRead, ClickEvent(0x20), ClickEvent(0x40)}},
                    MouseCase{"DblClickLeft",
                              8,
                              {kRead, ClickEvent(0x02), ClickEvent(0x04), ClickEvent(0x02), ClickEvent(0x04)}},
                    MouseCase{"WheelUp", 9, {kRead, InputCall::Mouse(0x800, 0, 0, 120)}},
                    MouseCase{"WheelDown", 10, {kRead, InputCall::Mouse(0x800, 0, 0, -120)}},
                    MouseCase{"UnknownActionFromAHandEditedMap", 12, {kRead}},
                    MouseCase{"HighestStoredValue", 255, {kRead}}),
    [](const testing::TestParamInfo<MouseCase>& info) { return std::string(info.param.description); });

TEST(Mouse, MovesByTheStepItIsGiven) {
    for (std::uint32_t step : {1u, 9u, 20u}) {
        FakeInput input({300, 300});
        PerformMouseAction(input, static_cast<std::uint8_t>(MouseAction::MoveRight), step);
        EXPECT_EQ(input.Cursor(), (Point{static_cast<std::int32_t>(300 + step), 300}));
    }
}

TEST(Mouse, MovePastTheEdge_AsksForTheUnclampedPosition) {
    FakeInput input({5, 40});
    PerformMouseAction(input, static_cast<std::uint8_t>(MouseAction::MoveLeft), 9);
    EXPECT_EQ(input.Calls().back(), InputCall::SetCursor({-4, 40}));
    EXPECT_EQ(input.Cursor(), (Point{0, 40}));
}

TEST(Mouse, ClicksLeaveThePointerWhereItIs) {
    for (MouseAction click : {MouseAction::ClickLeft, MouseAction::ClickRight, MouseAction::ClickMiddle,
                              MouseAction::DoubleClickLeft}) {
        FakeInput input({321, 123});
        PerformMouseAction(input, static_cast<std::uint8_t>(click), 20);
        EXPECT_EQ(input.Cursor(), (Point{321, 123}));
        EXPECT_EQ(std::count_if(input.Calls().begin(), input.Calls().end(),
                                [](const InputCall& call) { return call.kind == InputCall::Kind::SetCursor; }),
                  0);
    }
}

TEST(Mouse, HugeStepSaturatesInsteadOfOverflowing) {
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
    constexpr auto kHugeStep = std::numeric_limits<std::uint32_t>::max();
    FakeInput input({-10, 10});
    PerformMouseAction(input, static_cast<std::uint8_t>(MouseAction::MoveLeft), kHugeStep);
    PerformMouseAction(input, static_cast<std::uint8_t>(MouseAction::MoveDown), kHugeStep);
    EXPECT_EQ(input.Calls()[1], InputCall::SetCursor({kMin, 10}));
    EXPECT_EQ(input.Calls()[3], InputCall::SetCursor({0, kMax}));
}

}  // namespace
}  // namespace quorvel
