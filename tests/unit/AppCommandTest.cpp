#include <gtest/gtest.h>

#include <vector>

#include "actions/AppCommand.h"
#include "fakes/FakeWindowSystem.h"

namespace quorvel {
namespace {

TEST(AppCommand, ListsTheFiftyFiveItemsAtTheirCommandNumbers) {
    const std::vector<std::string> expected{
        "None",
        "BROWSER_BACKWARD",
        "BROWSER_FORWARD",
        "BROWSER_REFRESH",
        "BROWSER_STOP",
        "BROWSER_SEARCH",
        "BROWSER_FAVORITES",
        "BROWSER_HOME",
        "VOLUME_MUTE",
        "VOLUME_DOWN",
        "VOLUME_UP",
        "MEDIA_NEXTTRACK",
        "MEDIA_PREVIOUSTRACK",
        "MEDIA_STOP",
        "MEDIA_PLAY_PAUSE",
        "LAUNCH_MAIL",
        "LAUNCH_MEDIA_SELECT",
        "LAUNCH_APP1",
        "LAUNCH_APP2",
        "BASS_DOWN",
        "BASS_BOOST",
        "BASS_UP",
        "TREBLE_DOWN",
        "TREBLE_UP",
        "MICROPHONE_VOLUME_MUTE",
        "MICROPHONE_VOLUME_DOWN",
        "MICROPHONE_VOLUME_UP",
        "HELP",
        "FIND",
        "NEW",
        "OPEN",
        "CLOSE",
        "SAVE",
        "PRINT",
        "UNDO",
        "REDO",
        "COPY",
        "CUT",
        "PASTE",
        "REPLY_TO_MAIL",
        "FORWARD_MAIL",
        "SEND_MAIL",
        "SPELL_CHECK",
        "DICTATE_OR_COMMAND_CONTROL_TOGGLE",
        "MIC_ON_OFF_TOGGLE",
        "CORRECTION_LIST",
        "MEDIA_PLAY",
        "MEDIA_PAUSE",
        "MEDIA_RECORD",
        "MEDIA_FASTFORWARD",
        "MEDIA_REWIND",
        "MEDIA_CHANNEL_UP",
        "MEDIA_CHANNEL_DOWN",
        "DELETE",
        "DWM_FLIP3D",
    };
    EXPECT_EQ(AppCommandNames(), expected);
}

TEST(AppCommand, VolumeUpGoesToTheForegroundWindowInTheHighWord) {
    FakeWindowSystem windows;
    windows.foreground = WindowHandle{0x2A04};
    SendAppCommand(windows, 10);
    const std::vector<SentMessage> expected{{WindowHandle{0x2A04}, 0x0319, 0x2A04, 0xA0000, false}};
    EXPECT_EQ(windows.messages, expected);
}

TEST(AppCommand, SendsEveryNumberUnchangedIncludingThoseWithoutAnItem) {
    for (unsigned number = 1; number <= 255; ++number) {
        FakeWindowSystem windows;
        windows.foreground = WindowHandle{0x2A04};
        SendAppCommand(windows, static_cast<std::uint8_t>(number));
        ASSERT_EQ(windows.messages.size(), 1u) << number;
        EXPECT_EQ(windows.messages[0].lParam, static_cast<std::intptr_t>(number) * 65536) << number;
    }
}

TEST(AppCommand, PassesAHandleAboveFourGigabytesIntact) {
    if constexpr (sizeof(std::uintptr_t) < 8) {
        GTEST_SKIP() << "handles are 32 bits wide here";
    } else {
        FakeWindowSystem windows;
        windows.foreground = WindowHandle{0x1'2345'6789};
        SendAppCommand(windows, 1);
        ASSERT_EQ(windows.messages.size(), 1u);
        EXPECT_EQ(windows.messages[0].window, windows.foreground);
        EXPECT_EQ(windows.messages[0].wParam, 0x1'2345'6789u);
    }
}

TEST(AppCommand, SendsNothingForNoneOrWithoutAForegroundWindow) {
    FakeWindowSystem windows;
    windows.foreground = WindowHandle{0x2A04};
    SendAppCommand(windows, 0);
    windows.foreground = kNoWindow;
    SendAppCommand(windows, 10);
    EXPECT_TRUE(windows.messages.empty());
}

}  // namespace
}  // namespace quorvel
