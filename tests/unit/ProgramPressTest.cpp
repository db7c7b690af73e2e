#include <gtest/gtest.h>

#include "EngineFixture.h"
#include "engine/ButtonEditor.h"
#include "engine/ProgramChoices.h"
#include "engine/ProgramInFront.h"
#include "fakes/FakeDialogs.h"
#include "platform/LetterCase.h"

namespace quorvel {
namespace {

constexpr std::uint32_t kPlay = 0xA35C;

TEST(ProgramInFront, NamesTheProgramTheUserWorksInOrCameFromBeforeAPassingShellWindow) {
    FakeProgramWindows windows;
    const WindowHandle desktop = windows.AddWindow("C:\\Windows\\explorer.exe", "Progman");
    const WindowHandle player = windows.AddWindow("C:\\Apps\\Player.exe");
    const WindowHandle editor = windows.AddWindow("C:\\Apps\\Editor.exe");
    const WindowHandle hidden = windows.AddWindow("C:\\Apps\\Hidden.exe");
    windows.facts[hidden].visible = false;
    const WindowHandle mini = windows.AddWindow("C:\\Apps\\Mini.exe");
    const WindowHandle taskBar = windows.AddWindow("C:\\Windows\\explorer.exe", "Shell_TrayWnd");
    windows.facts[mini].topmost = windows.facts[taskBar].topmost = true;
    const WindowHandle host = windows.AddWindow("C:\\Windows\\System32\\ApplicationFrameHost.exe");
    windows.children[host] = {windows.AddWindow("C:\\Windows\\System32\\ApplicationFrameHost.exe"),
                              windows.AddWindow("C:\\Apps\\Calculator.exe")};
    const WindowHandle denied = windows.AddWindow("");
    const WindowHandle closed{0x9999};
    windows.zOrder = {taskBar, mini, hidden, editor, player, desktop};

    struct Row {
        const char* why;
        WindowHandle foreground;
        WindowHandle cameFrom;
        const char* program;
    };
    const Row rows[] = {
        {"a program in front", player, editor, "Player.exe"},
        {"a Store app's frame", host, kNoWindow, "Calculator.exe"},
        {"a process that cannot be named", denied, kNoWindow, ""},
        {"no window in front", kNoWindow, player, ""},
        {"the task bar after a window below others", taskBar, player, "Player.exe"},
        {"the desktop after a window", desktop, player, "Player.exe"},
        {"the task bar after the always-on-top window", taskBar, mini, "Mini.exe"},
        {"the task bar, none seen before: the highest not always on top", taskBar, kNoWindow, "Editor.exe"},
        {"the desktop after a window now closed", desktop, closed, "Editor.exe"},
        {"the task bar after a window now hidden", taskBar, hidden, "Editor.exe"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ProgramInFront(windows, row.foreground, row.cameFrom).name, row.program) << row.why;
    }
    windows.zOrder = {taskBar, mini, desktop};
    EXPECT_EQ(ProgramInFront(windows, taskBar, kNoWindow).name, "") << "only an always-on-top window not used";
}

TEST(ProgramsWithWindows, ListsEachProgramOnceAsTheSystemFoldsCaseLeavingOutQuorvel) {
    FakeProgramWindows windows;
    const WindowHandle hidden = windows.AddWindow("C:\\Apps\\Hidden.exe");
    windows.facts[hidden].visible = false;
    windows.AddWindow("C:\\Windows\\explorer.exe", "Shell_TrayWnd");
    windows.AddWindow("C:\\Old\\\xC9t\xE9.exe");
    windows.AddWindow("C:\\Apps\\\xE9t\xE9.exe");
    windows.AddWindow("C:\\Apps\\Player.exe");
    const WindowHandle own = windows.AddWindow("C:\\Quorvel\\Quorvel.exe");
    windows.facts[own].own = true;
    LetterCase letterCase;
    letterCase.SetUpper('\xE9', '\xC9');

    EXPECT_EQ(ProgramsWithWindows(windows, letterCase), (std::vector<std::string>{"Player.exe", "\xE9t\xE9.exe"}));
}

class ProgramPressTest : public EngineFixture {
protected:
    ProgramPressTest() {
        model.mode = EmulationMode::Keys;
        Define(kPlay, Section::Keys, "0042");
        ProgramMap& player = model.map.AddProgram("player.exe");
        player.mode = static_cast<std::uint8_t>(EmulationMode::WinLIRC);
        player[Section::Keys].Set(MapKey(kPlay), "0041");
        player[Section::Repeat].Set(MapKey(kPlay), "1");
        playerWindow = programWindows.AddWindow("C:\\Apps\\Player.exe");
        otherWindow = programWindows.AddWindow("C:\\Apps\\Other.exe");
    }
    std::vector<int> KeysDown() const {
        std::vector<int> keys;
        for (const InputCall& call : input.Calls()) {
            if (call.kind == InputCall::Kind::Key && !(call.flags & 2)) keys.push_back(call.virtualKey);
        }
        return keys;
    }
    WindowHandle playerWindow{};
    WindowHandle otherWindow{};
};

TEST_F(ProgramPressTest, HoldKeepsTheDefinitionAndModeOfTheProgramItBeganIn) {
    windows.foreground = playerWindow;
    receiver.Hold(kPlay, 12);
    Tick(2);
    windows.foreground = otherWindow;
    Tick(10);
    EXPECT_EQ(programWindows.imagePathsAsked, 1);
    EXPECT_EQ(model.press.definition, (PressDefinition{"player.exe", true, EmulationMode::WinLIRC, false, false, true}));
    // The player takes lines only: on hold counts 0 and 10, and not Other's key B on the repeats.
    EXPECT_EQ(KeysDown(), std::vector<int>{});
    EXPECT_EQ(lirc.lines.size(), 2u);
    EXPECT_EQ(model.mode, EmulationMode::Keys);

    input.ClearCalls();
    receiver.Idle(1);
    receiver.Hold(kPlay, 1);
    Tick(2);
    EXPECT_EQ(model.press.definition, (PressDefinition{"", false, EmulationMode::Keys}));
    EXPECT_EQ(lirc.lines.size(), 2u);
    EXPECT_EQ(KeysDown(), std::vector<int>{0x42});
}

TEST_F(ProgramPressTest, APressWithTheTaskBarInFrontTakesTheProgramLastInFrontNotAnAlwaysOnTopOne) {
    const WindowHandle mini = programWindows.AddWindow("C:\\Apps\\Mini.exe");
    const WindowHandle taskBar = programWindows.AddWindow("C:\\Windows\\explorer.exe", "Shell_TrayWnd");
    programWindows.facts[mini].topmost = programWindows.facts[taskBar].topmost = true;
    model.map.AddProgram("mini.exe")[Section::Keys].Set(MapKey(kPlay), "0043");
    programWindows.zOrder = {taskBar, mini, otherWindow, playerWindow};
    windows.foreground = playerWindow;
    receiver.Idle(1);
    Tick();
    windows.foreground = taskBar;
    receiver.Hold(kPlay, 1);
    Tick();
    EXPECT_EQ(model.press.definition.program, "player.exe");
}

TEST_F(ProgramPressTest, APressToAProgramWithHigherRightsSaysOnceWhileItStaysInFrontThatKeysCannotReachIt) {
    programWindows.higherRights.insert(programWindows.facts[playerWindow].processId);
    const auto press = [&](WindowHandle foreground, int times) {
        windows.foreground = foreground;
        for (int i = 0; i < times; ++i) {
            receiver.Hold(kPlay, 2);
            receiver.Idle(1);
            Tick(3);
        }
    };
    const std::string told = "Keys cannot reach Player.exe, which runs as administrator";
    press(playerWindow, 3);
    EXPECT_EQ(log.lines, std::vector<std::string>{told});
    EXPECT_EQ(model.status[0], told);
    EXPECT_EQ(programWindows.rightsAsked, 1);
    press(otherWindow, 1);
    press(playerWindow, 2);
    EXPECT_EQ(log.lines, (std::vector<std::string>{told, told}));
}

TEST_F(ProgramPressTest, ALongPressWaitsForTheReleaseAndKeepsTheProgramItBeganIn) {
    model.settings.longPressTime = 200;
    model.settings.osd = true;
    const std::string longKey = GestureKey(MapKey(kPlay), Gesture::Long);
    Define(kPlay, Section::Buttons, "Play");
    model.map[Section::Keys].Set(longKey, "0043");
    (*model.map.FindProgram("player.exe"))[Section::Keys].Set(longKey, "0044");
    windows.foreground = playerWindow;
    receiver.Hold(kPlay, 3);
    receiver.Idle(1);
    Tick(2);
    windows.foreground = otherWindow;
    EXPECT_TRUE(KeysDown().empty());
    Tick(2);
    // The player takes lines only: nothing at the release; the line went out at the press.
    EXPECT_EQ(KeysDown(), std::vector<int>{});
    EXPECT_EQ(lirc.lines.size(), 1u);

    // Held elsewhere to hold count 4: the global long press, once, and nothing at the release.
    receiver.Hold(kPlay, 7);
    receiver.Idle(1);
    Tick(8);
    EXPECT_EQ(KeysDown(), std::vector<int>{0x43});
    // Each announced when it acted, the long press by the button's name.
    EXPECT_EQ(osd.requests, (std::vector<FakeOsd::Request>{{"Play\rWinLIRC", false}, {"Play (long)\rC", false}}));
}

TEST_F(ProgramPressTest, ADoublePressIsTheOneOfTheProgramItsFirstPressBeganIn) {
    ProgramMap& player = *model.map.FindProgram("player.exe");
    player.mode = 0;
    const std::string doubleKey = GestureKey(MapKey(kPlay), Gesture::Double);
    model.map[Section::Keys].Set(doubleKey, "0043");
    player[Section::Keys].Set(doubleKey, "0044");
    windows.foreground = playerWindow;
    receiver.Hold(kPlay, 1);
    receiver.Idle(2);
    receiver.Hold(kPlay, 1);
    Tick(2);
    windows.foreground = otherWindow;
    Tick(2);
    EXPECT_EQ(KeysDown(), std::vector<int>{0x44});

    // Alone, a press in the other program gives the global key once the double-press time passed.
    receiver.Idle(2);
    receiver.Hold(kPlay, 1);
    receiver.Idle(9);
    Tick(11);
    EXPECT_EQ(KeysDown(), (std::vector<int>{0x44}));
    Tick(1);
    EXPECT_EQ(KeysDown(), (std::vector<int>{0x44, 0x42}));
}

TEST_F(ProgramPressTest, AProgramInWinLircLinesOnlyGetsLinesActionsAndLaunchesButNoKeyMouseOrCommand) {
    constexpr std::uint32_t kSleep = 0xA35D;
    ProgramMap& player = *model.map.FindProgram("player.exe");
    player[Section::Mouse].Set(MapKey(kPlay), "5");
    player[Section::Messages].Set(MapKey(kPlay), "8");
    player[Section::Applications].Set(MapKey(kPlay), "C:\\Apps\\Show.exe");
    Define(kSleep, Section::Actions, "1");
    windows.foreground = playerWindow;
    receiver.Hold(kPlay, 1);
    receiver.Idle(1);
    receiver.Hold(kSleep, 1);
    Tick(3);
    EXPECT_EQ(Outputs(), (std::vector<std::string>{"line", "launch"}));
    EXPECT_EQ(power.calls, std::vector<std::string>{"Sleep"});

    // The global WinLIRC mode keeps its rule: a button with only a key sends it beside the line.
    input.ClearCalls();
    lirc.lines.clear();
    processes.launches.clear();
    model.mode = EmulationMode::WinLIRC;
    windows.foreground = otherWindow;
    receiver.Idle(1);
    receiver.Hold(kPlay, 1);
    Tick(2);
    EXPECT_EQ(Outputs(), (std::vector<std::string>{"key", "line"}));
}

TEST_F(ProgramPressTest, ALongPressTaughtForOneProgramLeavesTheButtonAsItWasInEveryOther) {
    model.settings.longPressTime = 200;
    // In its own WinLIRC mode the player would take lines only.
    model.map.FindProgram("player.exe")->mode = static_cast<std::uint8_t>(EmulationMode::Keys);
    const std::string longKey = GestureKey(MapKey(kPlay), Gesture::Long);
    // Held in the window with the player chosen: the editor shows a new long press, not repeating.
    windows.foreground = windows.AddWindow({"QuorvelForm", "Quorvel", true, true});
    model.editorProgram = "player.exe";
    receiver.Hold(kPlay, 5);
    Tick(5);
    ASSERT_TRUE((model.editor.gesture == Gesture::Long));
    EXPECT_EQ(model.editor.name, "0000A35C (long)");
    EXPECT_FALSE(model.editor.repeat);
    model.editor.keyCodeValue = 0x46;
    ASSERT_TRUE(CommitEditor(model.editor, model.map, model.map.FindProgram("player.exe")));
    EXPECT_EQ(model.map.Lookup(Section::Buttons, longKey), nullptr);

    // Elsewhere the button acts at once and repeats as before; in the player its long press acts.
    windows.foreground = otherWindow;
    receiver.Idle(1);
    receiver.Hold(kPlay, 12);
    receiver.Idle(1);
    Tick(14);
    EXPECT_EQ(KeysDown(), std::vector<int>(4, 0x42));
    input.ClearCalls();
    windows.foreground = playerWindow;
    receiver.Hold(kPlay, 6);
    Tick(6);
    EXPECT_EQ(KeysDown(), std::vector<int>{0x46});
    // A long press defined without a Repeat entry repeats, and the editor shows it so.
    model.map[Section::Keys].Set(longKey, "005D");
    model.editorProgram.clear();
    windows.foreground = windows.AddWindow({"QuorvelForm", "Quorvel", true, true});
    receiver.Idle(1);
    receiver.Hold(kPlay, 5);
    Tick(6);
    EXPECT_TRUE((model.editor.gesture == Gesture::Long) && model.editor.repeat);
}

TEST_F(ProgramPressTest, OwnWindowInFrontAndNoProgramsLeaveTheProgramUnasked) {
    windows.foreground = windows.AddWindow({"QuorvelForm", "Quorvel", true, true});
    receiver.Hold(kPlay, 1);
    Tick();
    EXPECT_EQ(programWindows.imagePathsAsked, 0);
    EXPECT_TRUE(Outputs().empty());

    model.map.RemoveProgram("PLAYER.EXE");
    windows.foreground = playerWindow;
    receiver.Idle(1);
    receiver.Hold(kPlay, 1);
    Tick(2);
    EXPECT_EQ(programWindows.imagePathsAsked, 0);
    EXPECT_EQ(Outputs(), std::vector<std::string>{"key"});
}

TEST(ProgramChoices, AddChooseTeachAndRemoveAProgramsDefinitions) {
    Model model;
    FakeDialogs dialogs;
    FakeProgramWindows windows;
    ProgramChoices choices(model, dialogs, windows);
    model.map[Section::Keys].Set(MapKey(kPlay), "0042");
    model.editor.extendedCode = kPlay;

    EXPECT_FALSE(choices.Add("C:\\Apps\\bad[1].exe"));
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"The program name cannot hold '=', '[', ']' or control characters."});
    ASSERT_TRUE(choices.Add("C:\\Apps\\Player.exe"));
    ASSERT_TRUE(choices.Add("PLAYER.EXE"));
    EXPECT_EQ(model.map.Programs().size(), 1u);
    EXPECT_EQ(model.editorProgram, "Player.exe");
    choices.SetMode(3);
    EXPECT_EQ(model.map.FindProgram("player.exe")->mode, 3);
    EXPECT_EQ(model.editor.keyText, "B");
    EXPECT_FALSE(model.editor.ownDefinition);

    model.editor.keyCodeValue = 0x41;
    ASSERT_TRUE(CommitEditor(model.editor, model.map, model.map.FindProgram("Player.exe")));
    choices.ChooseForEditor("player.exe");
    EXPECT_TRUE(model.editor.ownDefinition);
    EXPECT_EQ(*model.map.Lookup(Section::Keys, MapKey(kPlay)), "0042");
    choices.RemoveButton();
    EXPECT_FALSE(model.editor.ownDefinition);
    EXPECT_EQ(model.editor.keyText, "B");
    choices.RemoveProgram();
    EXPECT_TRUE(model.map.Programs().empty());
    EXPECT_EQ(model.editorProgram, "");
}

TEST(ProgramChoices, EditsMadeBeforeChoosingTheProgramStayForItAndOtherReloadsReportTheirLoss) {
    Model model;
    FakeDialogs dialogs;
    FakeProgramWindows windows;
    ProgramChoices choices(model, dialogs, windows);
    model.map[Section::Keys].Set(MapKey(kPlay), "0042");
    model.map.AddProgram("Player.exe");
    model.editor.extendedCode = kPlay;
    model.editor.keyCodeValue = 0x41;
    model.editorUnsaved = true;

    choices.ChooseForEditor("player.exe");
    EXPECT_EQ(model.editor.keyCodeValue, 0x41);
    EXPECT_TRUE(model.editorUnsaved);
    EXPECT_FALSE(model.editor.ownDefinition);
    ASSERT_TRUE(CommitEditor(model.editor, model.map, model.map.FindProgram(model.editorProgram)));
    EXPECT_EQ(*model.map.FindProgram("Player.exe")->operator[](Section::Keys).Find(MapKey(kPlay)), "0041");
    EXPECT_EQ(*model.map.Lookup(Section::Keys, MapKey(kPlay)), "0042");

    // "Use Global" and "Remove" show what is stored: edits not saved are reported gone.
    model.editor.keyCodeValue = 0x43;
    model.editorUnsaved = true;
    choices.RemoveButton();
    EXPECT_EQ(model.status[0], "Unsaved changes to '0000A35C' were discarded");
    EXPECT_EQ(model.editor.keyCodeValue, 0x42);
    EXPECT_FALSE(model.editorUnsaved);
}

TEST(ProgramChoices, RemoveAsksForAProgramWithDefinitionsNamingHowManyButtons) {
    Model model;
    FakeDialogs dialogs;
    FakeProgramWindows windows;
    ProgramChoices choices(model, dialogs, windows);
    ProgramMap& player = model.map.AddProgram("Player.exe");
    player[Section::Keys].Set("00000001", "0041");
    player[Section::Repeat].Set("00000001", "0");
    player[Section::Keys].Set("00000001-Long", "0042");
    model.map.AddProgram("Empty.exe");

    choices.ChooseForEditor("Player.exe");
    dialogs.answers = {false};
    choices.RemoveProgram();
    const FakeDialogs::Shown question{"Remove Player.exe and its own definitions of 2 buttons?", MessageKind::Question};
    EXPECT_EQ(dialogs.shown, std::vector<FakeDialogs::Shown>{question});
    EXPECT_EQ(model.map.Programs().size(), 2u);
    EXPECT_EQ(model.editorProgram, "Player.exe");
    dialogs.answers = {true};
    choices.RemoveProgram();
    EXPECT_EQ(model.map.Programs().size(), 1u);

    choices.ChooseForEditor("Empty.exe");
    choices.RemoveProgram();
    EXPECT_TRUE(model.map.Programs().empty());
    EXPECT_EQ(dialogs.shown.size(), 2u);
}

TEST(ProgramChoices, UseGlobalAndRemoveTakeAProgramsLongPressBackWithItsName) {
    Model model;
    FakeDialogs dialogs;
    FakeProgramWindows windows;
    ProgramChoices choices(model, dialogs, windows);
    const std::string longKey = GestureKey(MapKey(kPlay), Gesture::Long);
    const auto teach = [&](const std::string& program) {
        choices.ChooseForEditor(program);
        model.editor = EditorButton{};
        model.editor.extendedCode = kPlay;
        model.editor.gesture = Gesture::Long;
        model.editor.name = "Menu";
        model.editor.keyCodeValue = 0x5D;
        ASSERT_TRUE(CommitEditor(model.editor, model.map, model.map.FindProgram(program)));
        ASSERT_EQ(*model.map.Lookup(Section::Buttons, longKey), "Menu");
    };
    model.map.AddProgram("Player.exe");
    teach("Player.exe");
    choices.RemoveButton();
    EXPECT_EQ(model.map.Lookup(Section::Buttons, longKey), nullptr);
    EXPECT_EQ(model.editor.name, MapKey(kPlay) + " (long)");
    ASSERT_FALSE(model.map.Erasures().empty());
    EXPECT_EQ(model.map.Erasures().back().section, "Buttons");

    teach("Player.exe");
    dialogs.answers = {true};
    choices.RemoveProgram();
    EXPECT_EQ(model.map.Lookup(Section::Buttons, longKey), nullptr);

    // A name the global long press still goes by stays.
    model.map[Section::Keys].Set(longKey, "0046");
    model.map.AddProgram("Player.exe");
    teach("Player.exe");
    choices.RemoveButton();
    EXPECT_EQ(*model.map.Lookup(Section::Buttons, longKey), "Menu");
}

}  // namespace
}  // namespace quorvel
