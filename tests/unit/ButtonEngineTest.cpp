#include <gtest/gtest.h>

#include <algorithm>

#include "EngineFixture.h"

namespace quorvel {
namespace {

constexpr std::uint32_t kPlay = 0xA35C;
constexpr std::uint32_t kStop = 0xA35D;

using ButtonEngineTest = EngineFixture;

TEST_F(ButtonEngineTest, IdleBeholderTickShowsNoButton) {
    Define(0, Section::Buttons, "");
    Tick();
    EXPECT_EQ(model.shown, (ShownButton{std::nullopt, std::nullopt, "", 0, false}));
    EXPECT_EQ(tray.pictures, std::vector{TrayPicture::Idle});
    EXPECT_TRUE(Outputs().empty());
    // A tick that changes nothing tells the window nothing.
    observer.changes.clear();
    Tick();
    EXPECT_TRUE(observer.changes.empty());
}

TEST_F(ButtonEngineTest, NoReadingMeansTheTickDoesNothing) {
    receiver.script.push_back(std::nullopt);
    Tick();
    EXPECT_TRUE(tray.pictures.empty());
    EXPECT_EQ(model.shown, ShownButton{});
    EXPECT_TRUE(observer.changes.empty());
}

TEST_F(ButtonEngineTest, PressShowsCodesNameAndProperties) {
    Define(kPlay, Section::Buttons, "Play");
    Define(kPlay, Section::Mouse, "5");
    receiver.Hold(kPlay, 1);
    Tick();
    EXPECT_EQ(model.editor.rcCode, 0x5Cu);
    EXPECT_EQ(model.editor.extendedCode, kPlay);
    EXPECT_EQ(model.editor.name, "Play");
    EXPECT_EQ(model.editor.mouseAction, 5);
    EXPECT_EQ(model.shown.name, "Play");
    EXPECT_TRUE(model.shown.held);
    EXPECT_EQ(tray.pictures, std::vector{TrayPicture::Held});
    EXPECT_EQ(observer.changes, (std::vector<Aspect>{Aspect::Listener, Aspect::Shown, Aspect::Editor}));
}

TEST_F(ButtonEngineTest, ReleaseEmptiesTheNameWithBeholderButNotWithCompro) {
    Define(kPlay, Section::Buttons, "Play");
    receiver.Hold(kPlay, 1);
    receiver.Idle(1);
    Tick(2);
    EXPECT_EQ(model.shown.name, "");
    EXPECT_FALSE(model.shown.held);

    receiver.kind = ReceiverKind::ComproSdk;
    receiver.Hold(kPlay, 1);
    receiver.Idle(1);
    Tick(2);
    EXPECT_EQ(model.shown.name, "Play");
}

TEST_F(ButtonEngineTest, LongHoldRepeatsFromTheTenthTickAndLinesEverySecondTick) {
    Define(kPlay, Section::Buttons, "Play");
    model.map.SetRemoteName("RC");
    receiver.Hold(kPlay, 20);
    std::vector<int> repeatNumbers;
    std::vector<std::size_t> mouseCallsPerTick;
    for (int i = 0; i < 20; ++i) {
        const std::size_t before = input.Calls().size();
        Tick();
        repeatNumbers.push_back(model.shown.repeatNumber.value_or(-1));
        mouseCallsPerTick.push_back(input.Calls().size() - before);
    }
    const std::vector<int> expectedNumbers = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6};
    EXPECT_EQ(repeatNumbers, expectedNumbers);
    for (int hold = 0; hold < 20; ++hold) {
        EXPECT_EQ(mouseCallsPerTick[hold] > 0, hold == 0 || hold >= 9) << hold;  // mouse action 0 reads the pointer
    }
    const std::vector<std::string> lines = {
        "000000000000A35C 00 Play RC\n", "000000000000A35C 02 Play RC\n", "000000000000A35C 03 Play RC\n",
        "000000000000A35C 04 Play RC\n", "000000000000A35C 05 Play RC\n", "000000000000A35C 06 Play RC\n"};
    EXPECT_EQ(lirc.lines, lines);
}

TEST_F(ButtonEngineTest, WithoutAutorepeatOrRepeatFlagAHoldOutputsOnce) {
    Define(kPlay, Section::Keys, "0041");
    model.mode = EmulationMode::Keys;
    model.settings.autorepeat = false;
    receiver.Hold(kPlay, 20);
    Tick(20);
    EXPECT_EQ(Outputs(), std::vector<std::string>{"key"});

    input.ClearCalls();
    model.settings.autorepeat = true;
    Define(kStop, Section::Keys, "0041");
    Define(kStop, Section::Repeat, "0");
    receiver.Hold(kStop, 20);
    Tick(20);
    EXPECT_EQ(Outputs(), std::vector<std::string>{"key"});
}

TEST_F(ButtonEngineTest, AnotherButtonOnTheNextTickIsANewPress) {
    model.mode = EmulationMode::Keys;
    Define(kPlay, Section::Keys, "0041");
    Define(kStop, Section::Keys, "0042");
    receiver.Hold(kPlay, 3);
    receiver.Hold(kStop, 1);
    Tick(4);
    EXPECT_EQ(model.press.progress.holdCount, 0u);
    EXPECT_EQ(Outputs(), (std::vector<std::string>{"key", "key"}));
}

TEST_F(ButtonEngineTest, OwnWindowInForegroundNotifiesButOutputsNothing) {
    windows.foreground = windows.AddWindow({"TMainForm", "Quorvel", true, true});
    model.settings.balloonHints = model.settings.sound = model.settings.osd = true;
    Define(kPlay, Section::Buttons, "Play");
    Define(kPlay, Section::Actions, "3");
    Define(kStop, Section::Buttons, "Stop");
    receiver.Hold(kPlay, 1);
    receiver.Hold(kStop, 1);
    Tick(2);
    EXPECT_EQ(model.shown.name, "Stop");
    EXPECT_EQ(tray.balloons.size(), 2u);
    EXPECT_EQ(sound.played.size(), 2u);
    EXPECT_EQ(osd.requests.size(), 2u);
    EXPECT_TRUE(power.calls.empty());
    EXPECT_TRUE(Outputs().empty());
}

TEST_F(ButtonEngineTest, VendorPriorityShowsCodesAndRunsActionsOnly) {
    model.settings.balloonHints = model.settings.sound = model.settings.osd = true;
    Define(kPlay, Section::Buttons, "Play");
    Define(kPlay, Section::Actions, "1");
    Define(kStop, Section::Keys, "0041");
    ReceiverReading play = ScriptedReceiver::Press(kPlay);
    ReceiverReading stop = ScriptedReceiver::Press(kStop);
    play.vendorPriority = stop.vendorPriority = true;
    receiver.script = {play, stop};
    Tick(2);
    EXPECT_EQ(model.editor.extendedCode, kStop);
    EXPECT_TRUE(tray.balloons.empty());
    EXPECT_TRUE(sound.played.empty());
    EXPECT_TRUE(osd.requests.empty());
    EXPECT_EQ(power.calls, std::vector<std::string>{"Sleep"});
    EXPECT_TRUE(Outputs().empty());
}

TEST_F(ButtonEngineTest, PowerActionsRunOnEveryHeldTickWithoutOtherOutputs) {
    const std::pair<const char*, const char*> cases[] = {{"1", "Sleep"}, {"2", "Hibernate"}, {"3", "Shutdown"}};
    for (const auto& [stored, call] : cases) {
        model.map = ButtonMap();
        power.calls.clear();
        Define(kPlay, Section::Actions, stored);
        Define(kPlay, Section::Applications, "C:\\x.exe");
        model.settings.autorepeat = false;
        receiver.Hold(kPlay, 4);
        receiver.Idle(1);
        Tick(5);
        EXPECT_EQ(power.calls, std::vector<std::string>(4, call));
    }
    EXPECT_TRUE(Outputs().empty());
}

TEST_F(ButtonEngineTest, ALongPressAsksForItsPowerActionWhenItFiresAndOnRepeatsOnlyWithItsRepeat) {
    // Held 30 ticks: it fires on the 12th, and its repeats begin nine ticks later.
    const std::pair<const char*, std::size_t> cases[] = {{"0", 1}, {"1", 10}};
    for (const auto& [repeat, sleeps] : cases) {
        model.map = ButtonMap();
        power.calls.clear();
        const std::string longKey = GestureKey(MapKey(kPlay), Gesture::Long);
        model.map[Section::Actions].Append(longKey, "1");
        model.map[Section::Repeat].Append(longKey, repeat);
        receiver.Hold(kPlay, 30);
        receiver.Idle(1);
        Tick(11);
        EXPECT_TRUE(power.calls.empty()) << "before the long-press time";
        Tick(20);
        EXPECT_EQ(power.calls, std::vector<std::string>(sleeps, "Sleep")) << "Repeat " << repeat;
    }
}

TEST_F(ButtonEngineTest, ChangeModeHeldCyclesOnceAndWrapsToWinLirc) {
    Define(kPlay, Section::Actions, "4");
    model.mode = EmulationMode::Messages;
    receiver.Hold(kPlay, 15);
    Tick(15);
    EXPECT_EQ(selectedModes, std::vector<EmulationMode>{EmulationMode::WinLIRC});
    EXPECT_TRUE(Outputs().empty());
}

TEST_F(ButtonEngineTest, ChangeModeBeforeAModeIsChosenDoesNothing) {
    model.mode = EmulationMode::None;
    Define(kPlay, Section::Actions, "4");
    receiver.Hold(kPlay, 1);
    Tick();
    EXPECT_TRUE(selectedModes.empty());
}

TEST_F(ButtonEngineTest, SleepTimerHeldTogglesOnce) {
    Define(kPlay, Section::Actions, "5");
    receiver.Hold(kPlay, 12);
    Tick(12);
    EXPECT_EQ(power.calls, std::vector<std::string>{"ToggleSleepTimer"});
    EXPECT_TRUE(lirc.lines.empty());
}

TEST_F(ButtonEngineTest, ActionAboveFiveActsAsNone) {
    Define(kPlay, Section::Actions, "7");
    receiver.Hold(kPlay, 1);
    Tick();
    EXPECT_TRUE(power.calls.empty());
    EXPECT_EQ(lirc.lines.size(), 1u);
}

// Which outputs a button gets, by what it defines and the mode.
TEST_F(ButtonEngineTest, DispatchTableByDefinitionAndMode) {
    struct Case {
        bool key, mouse, message;
        std::vector<std::string> winlirc, keys, mouseMode, messages;
    };
    using V = std::vector<std::string>;
    const Case cases[] = {
        {true, false, false, V{"key", "line"}, V{"key"}, V{"key"}, V{"key"}},
        {false, true, false, V{"mouse", "line"}, V{"mouse"}, V{"mouse"}, V{"mouse"}},
        {false, false, true, V{"message", "line"}, V{"message"}, V{"message"}, V{"message"}},
        {true, true, false, V{"line"}, V{"key"}, V{"mouse"}, V{}},
        {true, false, true, V{"line"}, V{"key"}, V{}, V{"message"}},
        {false, true, true, V{"line"}, V{}, V{"mouse"}, V{"message"}},
        {true, true, true, V{"line"}, V{"key"}, V{"mouse"}, V{"message"}},
        {false, false, false, V{"line"}, V{}, V{}, V{}},
    };
    const std::pair<EmulationMode, int> modes[] = {{EmulationMode::WinLIRC, 0},
                                                   {EmulationMode::Keys, 1},
                                                   {EmulationMode::Mouse, 2},
                                                   {EmulationMode::Messages, 3}};
    std::uint32_t code = 1;
    for (const Case& c : cases) {
        for (const auto& [mode, column] : modes) {
            ++code;
            if (c.key) Define(code, Section::Keys, "0041");
            if (c.mouse) Define(code, Section::Mouse, "2");
            if (c.message) Define(code, Section::Messages, "10");
            model.mode = mode;
            input.ClearCalls();
            windows.messages.clear();
            lirc.lines.clear();
            receiver.Hold(code, 1);
            Tick();
            const V expected[] = {c.winlirc, c.keys, c.mouseMode, c.messages};
            EXPECT_EQ(Outputs(), expected[column]) << "key " << c.key << " mouse " << c.mouse << " message "
                                                   << c.message << " mode " << column;
        }
    }
}

TEST_F(ButtonEngineTest, ButtonWithoutKeyInKeysModeSendsNoKeyButLetsMessagesRunFourTimes) {
    model.mode = EmulationMode::Keys;
    receiver.Hold(kPlay, 1);
    Tick();
    EXPECT_TRUE(Outputs().empty());
    EXPECT_EQ(std::count(input.Calls().begin(), input.Calls().end(), InputCall::Pump()), 4);
}

TEST_F(ButtonEngineTest, WinKeyInMouseModeIsStillSentWithoutMouseOrMessage) {
    Define(kPlay, Section::Keys, "1041");
    model.mode = EmulationMode::Mouse;
    receiver.Hold(kPlay, 1);
    Tick();
    ASSERT_FALSE(input.Calls().empty());
    EXPECT_EQ(input.Calls().front(), InputCall::Key(0x5B, 1));
}

TEST_F(ButtonEngineTest, NamelessButtonInWinLircModeGoesByItsKeyInTheLine) {
    model.settings.balloonHints = model.settings.sound = model.settings.osd = true;
    receiver.Hold(kPlay, 1);
    Tick();
    EXPECT_EQ(lirc.lines, std::vector<std::string>{"000000000000A35C 00 0000A35C RC\n"});
    EXPECT_TRUE(tray.balloons.empty());
    EXPECT_EQ(sound.played, std::vector<std::string>{"OK"});
    ASSERT_EQ(osd.requests.size(), 1u);
    EXPECT_EQ(osd.requests[0].text, "WinLIRC");
}

TEST_F(ButtonEngineTest, NetworkButtonTakesTheServersNameWhereTheMapHasNoneAndGoesBlankOnRelease) {
    receiver.kind = ReceiverKind::Network;
    constexpr std::uint32_t kNamed = 0xBE0010;
    Define(kNamed, Section::Buttons, "Volume Up");
    Define(kPlay, Section::Buttons, "");
    ReceiverReading fromServer = ScriptedReceiver::Press(kPlay);
    fromServer.buttonName = "KEY_PLAY";
    ReceiverReading namedByMap = ScriptedReceiver::Press(kNamed);
    namedByMap.buttonName = "KEY_VOLUMEUP";
    receiver.script = {fromServer, ReceiverReading{}, namedByMap};

    Tick();
    EXPECT_EQ(model.shown.name, "KEY_PLAY");
    EXPECT_EQ(model.editor.name, "KEY_PLAY");
    Tick();
    EXPECT_EQ(model.shown.name, "");
    EXPECT_EQ(model.editor.name, "KEY_PLAY");
    Tick();
    EXPECT_EQ(model.shown.name, "Volume Up");
    EXPECT_EQ(lirc.lines, (std::vector<std::string>{"000000000000A35C 00 KEY_PLAY RC\n", "0000000000BE0010 00 Volume Up RC\n"}));
}

TEST_F(ButtonEngineTest, NewPressShowsBalloonSoundAndOsdOnce) {
    model.settings.balloonHints = model.settings.sound = model.settings.osd = true;
    model.settings.osdSecondDisplay = true;
    Define(kPlay, Section::Buttons, "Power");
    Define(kPlay, Section::Actions, "1");
    receiver.Hold(kPlay, 12);
    Tick(12);
    EXPECT_EQ(tray.balloons, (std::vector<FakeTrayIcon::Balloon>{{"Button pressed", "Name: Power\rCode: 0000A35C"}}));
    EXPECT_EQ(sound.played.size(), 1u);
    EXPECT_EQ(osd.requests, (std::vector<FakeOsd::Request>{{"Power\rSleep\rWinLIRC", true}}));
}

TEST_F(ButtonEngineTest, HoldCountFrom516OnShowsFF) {
    receiver.Hold(kPlay, 520);
    Tick(517);
    EXPECT_EQ(model.press.progress.holdCount, 516u);
    EXPECT_EQ(model.shown.repeatNumber, 255);
    EXPECT_EQ(lirc.lines.back(), "000000000000A35C FF 0000A35C RC\n");
}

TEST_F(ButtonEngineTest, ComproDtvGetsTheRcCodeWhenItRuns) {
    const WindowHandle dtv = windows.AddWindow({"Class of Compro primary Main control panel", "ComproDTV 4"});
    receiver.kind = ReceiverKind::ComproSdk;
    receiver.comproPresent = true;
    model.settings.comproDtv = true;
    receiver.Hold(0x1A5, 1);
    Tick();
    EXPECT_EQ(windows.messages, (std::vector<SentMessage>{{dtv, 0x464, 0xA5, 0, false}}));

    windows.messages.clear();
    model.settings.comproDtv = false;
    receiver.Idle(1);
    receiver.Hold(0x1A5, 1);
    Tick(2);
    EXPECT_TRUE(windows.messages.empty());
}

TEST_F(ButtonEngineTest, ProgramLaunchesOnEveryDispatchedTick) {
    Define(kPlay, Section::Applications, "C:\\Tools\\player.exe");
    receiver.Hold(kPlay, 11);
    Tick(11);
    EXPECT_EQ(processes.launches.size(), 3u);  // hold counts 0, 9 and 10
    EXPECT_EQ(processes.launches[0].commandLine, "\"C:\\Tools\\player.exe\" ");
}

TEST_F(ButtonEngineTest, ClientLabelFollowsTheListenerAndTheMode) {
    lirc.clients = 3;
    receiver.Hold(kPlay, 1);
    Tick();
    EXPECT_EQ(model.listener.clients, 3u);

    model.mode = EmulationMode::Keys;
    lirc.clients = 2;
    receiver.Idle(1);
    receiver.Hold(kPlay, 1);
    Tick(2);
    EXPECT_EQ(model.listener.clients, 2u);

    lirc.active = false;
    for (EmulationMode mode : {EmulationMode::Keys, EmulationMode::WinLIRC}) {
        model.mode = mode;
        model.listener.clients = 5;
        observer.changes.clear();
        receiver.Idle(1);
        receiver.Hold(kPlay, 1);
        Tick(2);
        EXPECT_EQ(model.listener.clients, std::nullopt);
        EXPECT_EQ(std::count(observer.changes.begin(), observer.changes.end(), Aspect::Listener), 1);
    }
    EXPECT_EQ(lirc.lines.size(), 1u);
}

TEST_F(ButtonEngineTest, ClientEventPictureShowsForTenTicks) {
    engine.NoteClientEvent();
    Tick(11);
    std::vector<TrayPicture> expected(10, TrayPicture::ClientEvent);
    expected.push_back(TrayPicture::Idle);
    EXPECT_EQ(tray.pictures, expected);
}

TEST_F(ButtonEngineTest, ComproKeyZeroIsAPressWithoutNameOrProperties) {
    receiver.kind = ReceiverKind::ComproSdk;
    model.settings.sound = true;
    Define(0, Section::Buttons, "Zero");
    Define(0, Section::Actions, "1");
    receiver.script.push_back(ReceiverReading{true, 0, 0, false, false, {}});
    Tick();
    EXPECT_EQ(model.editor, EditorButton{});
    EXPECT_EQ(model.shown.name, "");
    EXPECT_EQ(sound.played.size(), 1u);
    EXPECT_TRUE(power.calls.empty());
    EXPECT_EQ(lirc.lines, std::vector<std::string>{"0000000000000000 00 00000000 RC\n"});
}

TEST_F(ButtonEngineTest, EveryComproKeyZeroPressAfterAGapIsNew) {
    receiver.kind = ReceiverKind::ComproSdk;
    const ReceiverReading zero{true, 0, 0, false, false, {}};
    receiver.script = {zero, zero, ReceiverReading{}, zero};
    Tick(2);
    EXPECT_EQ(model.press.progress.holdCount, 1u);
    Tick(2);
    EXPECT_EQ(model.press.progress.holdCount, 0u);
    EXPECT_EQ(lirc.lines.size(), 2u);
}

TEST_F(ButtonEngineTest, AStartingReceiverResetsThePressWhole) {
    receiver.kind = ReceiverKind::ComproSdk;
    const ReceiverReading zero{true, 0, 0, false, false, {}};
    receiver.script = {zero, zero};
    Tick();
    model.press.Reset();
    Tick();
    EXPECT_EQ(model.press.progress.holdCount, 0u);
    EXPECT_EQ(lirc.lines.size(), 2u);
}

}  // namespace
}  // namespace quorvel
