#include <gtest/gtest.h>

#include "fakes/FakeInput.h"

namespace quorvel {
namespace {

TEST(FakeInput, KeepsTheCursorOnTheScreenLikeTheSystem) {
    FakeInput input({10, 10}, {640, 480});
    input.SetCursorPos({-4, 500});
    EXPECT_EQ(input.Cursor(), (Point{0, 479}));
    input.SetCursorPos({700, -1});
    EXPECT_EQ(input.Cursor(), (Point{639, 0}));
    input.SetCursorPos({320, 240});
    EXPECT_EQ(input.GetCursorPos(), (Point{320, 240}));
}

TEST(FakeInput, HoldsAKeyFromItsPressUntilItsRelease) {
    FakeInput input;
    input.KeybdEvent(0x11, 0, 1);
    input.KeybdEvent(0x41, 0, 1);
    input.KeybdEvent(0x41, 0, 3);
    EXPECT_TRUE(input.IsKeyDown(0x11));
    EXPECT_FALSE(input.IsKeyDown(0x41));
    input.KeybdEvent(0x11, 0, 3);
    EXPECT_FALSE(input.AnyKeyDown());
}

TEST(FakeInput, RecordsEveryCallInOrderWithItsArguments) {
    FakeInput input({5, 6});
    input.KeybdEvent(0x5B, 0, 1);
    input.PumpMessages();
    input.MouseEvent(0x800, 0, 0, -120);
    input.GetCursorPos();
    input.SetCursorPos({7, 8});
    const std::vector<InputCall> expected{
        InputCall::Key(0x5B, 1), InputCall::Pump(),        InputCall::Mouse(0x800, 0, 0, -120),
        InputCall::GetCursor(),  InputCall::SetCursor({7, 8}),
    };
    EXPECT_EQ(input.Calls(), expected);
}

}  // namespace
}  // namespace quorvel
