#include "engine/Application.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "LircLoopback.h"
#include "actions/PowerBroadcast.h"
#include "fakes/FakeLog.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeInput.h"
#include "fakes/FakeLibraries.h"
#include "fakes/FakeMainThread.h"
#include "fakes/FakeNotifications.h"
#include "fakes/FakePowerSystem.h"
#include "fakes/FakeProcessControl.h"
#include "fakes/FakeProcesses.h"
#include "fakes/FakeProfileFile.h"
#include "settings/IniDocument.h"
#include "fakes/FakeProgramWindows.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeSystemInfo.h"
#include "fakes/FakeTimer.h"
#include "fakes/FakeVendor.h"
#include "fakes/FakeWindowSystem.h"
#include "fakes/PassThroughSockets.h"

namespace quorvel {
namespace {

constexpr char kProgramKey[] = "Software\\Vantrel\\Quorvel";
constexpr char kExecutable[] = "C:\\Quorvel\\Quorvel.exe";
constexpr char16_t kWideExecutable[] = u"C:\\Quorvel\\Quorvel.exe";
constexpr std::uint32_t kPlay = 0x00BE0035;
constexpr std::uint32_t kDefaultOsdColour = 0x00FAFAB4;

// Every step of start-up and exit that leaves the program, in the order it happened, across
// all the fakes. Repeats of one step in a row are kept once.
std::vector<std::string>& Journal() {
    static std::vector<std::string> entries;
    return entries;
}

void Note(const std::string& step) {
    if (Journal().empty() || Journal().back() != step) Journal().push_back(step);
}

// The library exports that release the receiver, noted as they are called.
std::uint32_t JournaledUnInit() {
    Note("UnInit");
    return fake_vendor::UnInit();
}

class JournalLibraries final : public Libraries {
public:
    explicit JournalLibraries(FakeLibraries& inner) : inner_(inner) {}
    ModuleHandle Load(const std::string& fileName) override {
        const ModuleHandle module = inner_.Load(fileName);
        if (module != kNoModule) {
            names_[module] = fileName;
            Note("load " + fileName);
        }
        return module;
    }
    LoadFailure LastLoadFailure() const override { return inner_.LastLoadFailure(); }
    void* Resolve(ModuleHandle module, const std::string& exportName) override {
        void* address = inner_.Resolve(module, exportName);
        if (address && exportName == "UnInit") return reinterpret_cast<void*>(&JournaledUnInit);
        return address;
    }
    void Free(ModuleHandle module) override {
        Note("free " + names_[module]);
        inner_.Free(module);
    }

private:
    FakeLibraries& inner_;
    std::map<ModuleHandle, std::string> names_;
};

class JournalRegistry final : public Registry {
public:
    explicit JournalRegistry(FakeRegistry& inner) : inner_(inner) {}
    RegistryKey CreateKey(const std::string& path) override { return inner_.CreateKey(path); }
    RegistryKey OpenKey(const std::string& path) override { return inner_.OpenKey(path); }
    std::optional<RegistryValue> QueryValue(RegistryKey key, const std::string& name) override {
        Note("read settings");
        return inner_.QueryValue(key, name);
    }
    bool SetDword(RegistryKey key, const std::string& name, std::uint32_t value) override {
        Note("write settings");
        return inner_.SetDword(key, name, value);
    }
    bool SetString(RegistryKey key, const std::string& name, const std::string& value) override {
        Note("write settings");
        return inner_.SetString(key, name, value);
    }
    std::optional<std::u16string> QueryWideText(RegistryKey key, const std::string& name) override {
        Note("read settings");
        return inner_.QueryWideText(key, name);
    }
    bool SetWideString(RegistryKey key, const std::string& name, const std::u16string& value) override {
        Note("write settings");
        return inner_.SetWideString(key, name, value);
    }
    bool DeleteValue(RegistryKey key, const std::string& name) override { return inner_.DeleteValue(key, name); }
    void CloseKey(RegistryKey key) override { inner_.CloseKey(key); }

private:
    FakeRegistry& inner_;
};

class JournalProfile final : public ProfileFile {
public:
    explicit JournalProfile(FakeProfileFile& inner) : inner_(inner) {}
    std::string ToAnsi(std::u16string_view text) override { return inner_.ToAnsi(text); }
    std::u16string FromAnsi(std::string_view text) override { return inner_.FromAnsi(text); }
    LetterCase LetterCaseRules() override { return inner_.LetterCaseRules(); }
    std::optional<std::string> Read(const std::u16string& path) override {
        Note("read button map");
        return inner_.Read(path);
    }
    std::optional<std::u16string> CreateCopyBeside(const std::u16string& path) override {
        return inner_.CreateCopyBeside(path);
    }
    bool Write(const std::u16string& copy, const std::string& bytes) override {
        Note("write button map");
        return inner_.Write(copy, bytes);
    }
    bool ReplaceWithCopy(const std::u16string& path, const std::u16string& copy) override {
        return inner_.ReplaceWithCopy(path, copy);
    }
    void RemoveCopy(const std::u16string& copy) override { inner_.RemoveCopy(copy); }

private:
    FakeProfileFile& inner_;
};

class JournalDialogs final : public Dialogs {
public:
    explicit JournalDialogs(FakeDialogs& inner) : inner_(inner) {}
    void ShowMessage(const std::string& text, MessageKind kind) override {
        Note("dialog " + text);
        inner_.ShowMessage(text, kind);
    }
    bool Ask(const std::string& question, MessageKind kind) override {
        Note("dialog " + question);
        return inner_.Ask(question, kind);
    }

private:
    FakeDialogs& inner_;
};

class JournalTray final : public TrayIcon {
public:
    explicit JournalTray(FakeTrayIcon& inner) : inner_(inner) {}
    void Show() override {
        Note("tray icon");
        inner_.Show();
    }
    void SetPicture(TrayPicture picture) override { inner_.SetPicture(picture); }
    void ShowBalloon(const std::string& title, const std::string& text) override { inner_.ShowBalloon(title, text); }
    void Remove() override {
        Note("remove tray icon");
        inner_.Remove();
    }

private:
    FakeTrayIcon& inner_;
};

class JournalTimer final : public Timer {
public:
    explicit JournalTimer(FakeTimer& inner) : inner_(inner) {}
    void Start(std::uint32_t intervalMs) override {
        Note("tick on");
        inner_.Start(intervalMs);
    }
    void Stop() override {
        if (inner_.IsRunning()) Note("tick off");
        inner_.Stop();
    }
    std::uint32_t IntervalMs() const override { return inner_.IntervalMs(); }

private:
    FakeTimer& inner_;
};

class JournalProcess final : public ProcessControl {
public:
    explicit JournalProcess(FakeProcessControl& inner) : inner_(inner) {}
    bool AcquireInstanceMutex(const std::string& name) override {
        Note("mutex " + name);
        return inner_.AcquireInstanceMutex(name);
    }
    void CloseInstanceMutex() override {
        Note("close mutex");
        inner_.CloseInstanceMutex();
    }
    void RaisePriority() override {
        Note("priority");
        inner_.RaisePriority();
    }
    void EndNow() override {
        Note("end now");
        inner_.EndNow();
    }

private:
    FakeProcessControl& inner_;
};

// Real loopback sockets; the listener's start and its end are noted.
class JournalSockets final : public PassThroughSockets {
public:
    bool Listen(SocketHandle socket) override {
        Note("listen");
        listener_ = socket;
        return real_.Listen(socket);
    }
    void Close(SocketHandle socket) override {
        if (socket == listener_) Note("stop listening");
        real_.Close(socket);
    }

private:
    SocketHandle listener_ = kNoSocket;
};

class ApplicationTest : public ::testing::Test {
protected:
    ApplicationTest() {
        Journal().clear();
        FakeVendorState::Get() = FakeVendorState();
        FakeKernel32State::Reset();
        FakePowrprofState::Reset();
        OsVersionRecord& version = FakeKernel32State::Get().version;
        version.platformId = 2;
        version.majorVersion = 6;
        version.minorVersion = 1;
        version.buildNumber = 7601;
        version.productType = 1;
        FakeKernel32State::Get().processorArchitecture = 9;
        AddFakeKernel32(fakeLibraries);
        AddFakePowrprof(fakeLibraries);
        fake_vendor::AddBeholdRc(fakeLibraries);
        system.executablePath = kExecutable;
        system.SetVersionResource(0x0419, 0x04E3, "0.1.0.1");
        // The listener stays off unless a test switches it on.
        fakeRegistry.PutDword(kProgramKey, "LIRC Server Enabled", 0);
    }
    ~ApplicationTest() override { mainThread.Close(); }

    bool Start(const std::vector<std::string>& arguments = {}) { return application.Start(arguments); }
    void ListenOnAFreePort() {
        fakeRegistry.PutDword(kProgramKey, "LIRC Server Enabled", 1);
        fakeRegistry.PutString(kProgramKey, "LIRC Server Port", std::to_string(FreeLoopbackPort()));
    }
    // One tick per code; 0 is a tick without a button.
    void Receive(std::initializer_list<std::uint32_t> codes) {
        for (std::uint32_t code : codes) {
            FakeVendorState::Get().beholdCodes.push_back(code);
            application.OnTick();
        }
    }
    std::string IniValue(const std::string& section, const std::string& key) {
        return IniDocument(fakeProfile.ToText(), fakeProfile).Value(section, key).value_or("<absent>");
    }

    FakeWindowSystem windows;
    FakeInput input;
    FakeProcesses processes;
    FakeProgramWindows programWindows;
    FakeProfileFile fakeProfile;
    JournalProfile profile{fakeProfile};
    FakeRegistry fakeRegistry;
    JournalRegistry registry{fakeRegistry};
    FakeLibraries fakeLibraries;
    JournalLibraries libraries{fakeLibraries};
    FakeSystemInfo system;
    FakePowerSystem powerSystem;
    JournalSockets sockets;
    FakeClock clock;
    FakeMainThread mainThread;
    FakeDialogs fakeDialogs;
    JournalDialogs dialogs{fakeDialogs};
    FakeLog log;
    FakeSound sound;
    FakeTrayIcon fakeTray;
    JournalTray tray{fakeTray};
    FakeOsd osd;
    FakeTimer fakeMainT;
    JournalTimer mainT{fakeMainT};
    FakeTimer offTimer;
    FakeTimer macroT;
    FakeProcessControl fakeProcess;
    JournalProcess process{fakeProcess};
    std::vector<std::uint32_t> osdColours;
    int runningCopyAsked = 0;
    int receiverSettingsOpened = 0;
    Application application{ApplicationContext{
        windows, input, processes, programWindows, profile, registry, libraries, system, powerSystem, sockets, clock, mainThread,
        dialogs, log, sound, tray, osd, mainT, offTimer, macroT, process, kWideExecutable,
        [this](std::uint32_t colour) { osdColours.push_back(colour); }, [this] { ++runningCopyAsked; },
        [this] { ++receiverSettingsOpened; }}};
    Model& model = application.State();
};

TEST_F(ApplicationTest, StartUpBringsEverythingUpInItsOrder) {
    ListenOnAFreePort();
    fakeRegistry.PutDword(kProgramKey, "Mode", 3);
    ASSERT_TRUE(Start({"/d", "-Debug", "/x"}));
    const std::vector<std::string> expected = {
        "mutex QuorvelMutex", "load kernel32.dll", "dialog Debug Mode", "priority", "read settings",
        "read button map",    "load powrprof.dll", "load BeholdRC.dll", "tick on",  "tray icon",
        "listen",
    };
    EXPECT_EQ(Journal(), expected);
    // The dialog is shown once per argument with a D in it.
    EXPECT_EQ(fakeDialogs.Texts(), (std::vector<std::string>{"Debug Mode", "Debug Mode"}));
    EXPECT_EQ(model.osName, "Windows 7 6.1.7601  x64");
    EXPECT_EQ(model.version, "0.1.0.1");
    EXPECT_EQ(model.mode, EmulationMode::Mouse);
    EXPECT_TRUE(model.listener.active);
    EXPECT_FALSE(application.CanClose());
    // Whoever supports the user reads what came up, in order.
    ASSERT_EQ(log.lines.size(), 3u);
    EXPECT_EQ(log.lines[0], "Quorvel 0.1.0.1 starts on Windows 7 6.1.7601  x64");
    EXPECT_EQ(log.lines[1], "Receiver: Behold TV Card initialize success!");
    EXPECT_EQ(log.lines[2].rfind("WinLIRC server listening on 127.0.0.1:", 0), 0u);
}

TEST_F(ApplicationTest, SecondCopyEndsSilentlyBeforeTouchingAnything) {
    fakeProcess.heldElsewhere = {"QuorvelMutex"};
    EXPECT_FALSE(Start({"/debug"}));
    EXPECT_EQ(Journal(), std::vector<std::string>{"mutex QuorvelMutex"});
    EXPECT_TRUE(fakeDialogs.shown.empty());
    EXPECT_FALSE(fakeTray.shown);
    EXPECT_EQ(model.osName, "");
    EXPECT_EQ(runningCopyAsked, 1);
}

TEST_F(ApplicationTest, UnsupportedWindowsFinishesStartUpThenReleasesWhatItOpenedAndEnds) {
    ListenOnAFreePort();
    FakeKernel32State::Get().version.majorVersion = 4;
    EXPECT_FALSE(Start());
    EXPECT_TRUE(fakeTray.shown);
    EXPECT_TRUE(fakeDialogs.shown.empty());
    // As the exit sequence, without the save.
    const std::vector<std::string> expected = {
        "mutex QuorvelMutex", "load kernel32.dll", "priority",          "read settings",     "read button map",
        "load powrprof.dll",  "load BeholdRC.dll", "tick on",           "tray icon",         "listen",
        "stop listening",     "tick off",          "close mutex",       "UnInit",            "free kernel32.dll",
        "free BeholdRC.dll",  "free powrprof.dll",
    };
    EXPECT_EQ(Journal(), expected);
}

constexpr char kNoLibraryQuestion[] =
    "TV Tuner DLL not found!\n\nQuorvel looked for BeholdRC.dll, RemoteSdk.dll and VendorCmdRW.dll in C:\\Quorvel, "
    "in the Windows system folders and in the folders of the PATH.\n\nQuorvel can receive from a LIRC server "
    "instead: open the settings?";

TEST_F(ApplicationTest, NoReceiverLibraryEndsAfterItsMessageWithoutIconOrListener) {
    fakeLibraries = FakeLibraries();
    AddFakeKernel32(fakeLibraries);
    ListenOnAFreePort();
    EXPECT_FALSE(Start());
    EXPECT_EQ(fakeDialogs.Texts(), std::vector<std::string>{kNoLibraryQuestion});
    EXPECT_FALSE(fakeTray.shown);
    EXPECT_EQ(std::count(Journal().begin(), Journal().end(), "listen"), 0);
    EXPECT_EQ(receiverSettingsOpened, 0);
}

TEST_F(ApplicationTest, NoReceiverLibraryOffersTheSettingsAndTheSavedServerIsReceivedFromAtOnce) {
    fakeLibraries = FakeLibraries();
    AddFakeKernel32(fakeLibraries);
    ListenOnAFreePort();
    fakeDialogs.answers = {true};
    ASSERT_TRUE(Start());
    EXPECT_EQ(fakeDialogs.Texts(), std::vector<std::string>{kNoLibraryQuestion});
    EXPECT_TRUE(fakeTray.shown);
    EXPECT_EQ(receiverSettingsOpened, 1);

    // Saved without a server, nothing changes; saved with one, it is the receiver.
    application.SaveAll();
    EXPECT_EQ(fakeMainT.IntervalMs(), 0u);
    Settings settings = model.settings;
    settings.networkReceiver = true;
    settings.networkReceiverAddress = "127.0.0.1:1";
    application.ChangeSettings(settings);
    EXPECT_EQ(fakeMainT.IntervalMs(), 0u);
    application.SaveAll();
    EXPECT_NE(fakeMainT.IntervalMs(), 0u);
    EXPECT_EQ(model.receiver.cards, std::vector<std::string>{"LIRC 127.0.0.1:1"});
    application.Exit();
}

TEST_F(ApplicationTest, HiddenIconSettingKeepsTheTrayEmptyAndTheWindowHiddenWhenStartedAgain) {
    fakeRegistry.PutDword(kProgramKey, "Hidden Icon", 1);
    ASSERT_TRUE(Start());
    EXPECT_FALSE(fakeTray.shown);
    EXPECT_TRUE(fakeTray.balloons.empty());
    EXPECT_FALSE(application.AnotherCopyStarted());
}

TEST_F(ApplicationTest, OnlyTheFirstStartSaysWhereTheProgramRuns) {
    fakeRegistry = FakeRegistry();
    ASSERT_TRUE(Start());
    ASSERT_EQ(fakeTray.balloons.size(), 1u);
    EXPECT_EQ(fakeTray.balloons[0].title, "Quorvel");
    EXPECT_TRUE(application.AnotherCopyStarted());
    application.SaveAll();

    FakeTrayIcon laterTray;
    Application later{ApplicationContext{
        windows, input, processes, programWindows, profile, registry, libraries, system, powerSystem, sockets, clock, mainThread,
        dialogs, log, sound, laterTray, osd, mainT, offTimer, macroT, process, kWideExecutable, [](std::uint32_t) {}, [] {}, [] {}}};
    application.Exit();
    ASSERT_TRUE(later.Start({}));
    EXPECT_TRUE(laterTray.shown);
    EXPECT_TRUE(laterTray.balloons.empty());
}

TEST_F(ApplicationTest, BeholderCardsAreAnnouncedAndTheChosenOneIsSaved) {
    fakeRegistry.PutDword(kProgramKey, "Balloon Hints", 1);
    FakeVendorState::Get().cardNames = {"First", "Second"};
    ASSERT_TRUE(Start());
    EXPECT_EQ(fakeTray.balloons, (std::vector<FakeTrayIcon::Balloon>{{"Beholder TV card used", "First\r\nSecond\r\n"}}));
    application.ChooseCard(1);
    EXPECT_EQ(FakeVendorState::Get().calls.back(), "GetRemoteType");
    application.SaveAll();
    EXPECT_EQ(fakeRegistry.GetDword(kProgramKey, "Card"), 1u);
}

TEST_F(ApplicationTest, ListenerFollowsItsSwitchAtOnce) {
    ListenOnAFreePort();
    fakeRegistry.PutDword(kProgramKey, "LIRC Server Enabled", 0);
    ASSERT_TRUE(Start());
    Journal().clear();
    application.SwitchListener(true);
    EXPECT_TRUE(model.listener.active);
    application.SwitchListener(false);
    EXPECT_FALSE(model.listener.active);
    EXPECT_FALSE(model.settings.lircServerEnabled);
    EXPECT_EQ(Journal(), (std::vector<std::string>{"listen", "stop listening"}));
}

TEST_F(ApplicationTest, ClientsAreAnsweredFromTheLoadedMapAndFromEachCommittedButton) {
    ListenOnAFreePort();
    fakeProfile = FakeProfileFile::FromText("[RC]\nName=Hall\n[Buttons]\n0000A35C=Play\n");
    ASSERT_TRUE(Start());
    LoopbackClient client(static_cast<std::uint16_t>(std::stoi(model.settings.lircServerPort)));
    client.Send("VERSION\n");
    EXPECT_EQ(client.ReceiveOnce(), "BEGIN\nVERSION\nSUCCESS\nDATA\n1\n0.1.0.1\nEND\n");

    Receive({kPlay, 0});
    EXPECT_EQ(client.ReceiveOnce(), "0000000000BE0035 00 00BE0035 Hall\n");
    EditorButton edited = model.editor;
    edited.name = "Stop";
    application.ChangeEditor(edited);
    application.CommitEditor();
    client.Send("LIST Hall\n");
    EXPECT_EQ(client.ReceiveOnce(),
              "BEGIN\nLIST Hall\nSUCCESS\nDATA\n2\n000000000000A35C Play\n0000000000BE0035 Stop\nEND\n");

    // A renamed remote answers at once under its new name, and the next save files it.
    application.RenameRemote("Den");
    client.Send("LIST\n");
    EXPECT_EQ(client.ReceiveOnce(), "BEGIN\nLIST\nSUCCESS\nDATA\n1\nDen\nEND\n");
    application.SaveAll();
    EXPECT_EQ(IniValue("RC", "Name"), "Den");
}

TEST_F(ApplicationTest, ChangeModeButtonSelectsTheNextModeWhichTheExitSaves) {
    fakeProfile = FakeProfileFile::FromText("[Actions]\n00BE0035=4\n");
    fakeRegistry.PutDword(kProgramKey, "Mode", 4);
    ASSERT_TRUE(Start());
    Receive({kPlay, kPlay, 0, kPlay});
    EXPECT_EQ(model.mode, EmulationMode::Keys);
    application.Exit();
    EXPECT_EQ(fakeRegistry.GetDword(kProgramKey, "Mode"), 2u);
}

TEST_F(ApplicationTest, WindowMayCloseOnlyOnceExitWasAskedFor) {
    ASSERT_TRUE(Start());
    Journal().clear();
    EXPECT_FALSE(application.CanClose());
    application.RequestExit();
    EXPECT_TRUE(application.CanClose());
    EXPECT_TRUE(Journal().empty());
    EXPECT_TRUE(fakeMainT.IsRunning());
    EXPECT_TRUE(fakeProcess.mutexHeld);
}

TEST_F(ApplicationTest, ExitRunsTheExitSequenceInItsOrder) {
    ListenOnAFreePort();
    ASSERT_TRUE(Start());
    Journal().clear();
    application.Exit();
    const std::vector<std::string> expected = {
        // The read looks for a network receiver's value to delete.
        "remove tray icon", "stop listening",    "tick off",          "write settings",   "read settings",
        "read button map",  "write button map",  "close mutex",       "UnInit",           "free kernel32.dll",
        "free BeholdRC.dll", "free powrprof.dll",
    };
    EXPECT_EQ(Journal(), expected);
    EXPECT_EQ(fakeRegistry.GetDword(kProgramKey, "Mode"), 1u);
    EXPECT_EQ(IniValue("RC", "Name"), "RC");
}

TEST_F(ApplicationTest, FailedSaveAtExitIsReportedAndTheReceiverIsStillReleased) {
    ASSERT_TRUE(Start());
    fakeRegistry.failingWrites = {"Sound"};
    Journal().clear();
    application.Exit();
    EXPECT_EQ(fakeDialogs.Texts(), std::vector<std::string>{"Failed to set data for 'Sound'"});
    // Values written before the failure stay written; the release and the unloading still run.
    EXPECT_EQ(fakeRegistry.GetDword(kProgramKey, "Autorepeat"), 1u);
    const std::vector<std::string> expected = {"remove tray icon", "tick off", "write settings",
                                               "dialog Failed to set data for 'Sound'", "close mutex", "UnInit",
                                               "free kernel32.dll", "free BeholdRC.dll", "free powrprof.dll"};
    EXPECT_EQ(Journal(), expected);
}

TEST_F(ApplicationTest, EndOfTheLogonSavesEverythingAndEndsTheProgram) {
    ASSERT_TRUE(Start());
    Journal().clear();
    EXPECT_TRUE(application.QueryEndSession());
    EXPECT_TRUE(application.CanClose());
    application.EndSession(true);
    EXPECT_EQ(Journal(), (std::vector<std::string>{"write settings", "read settings", "read button map",
                                                     "write button map", "end now"}));
    EXPECT_EQ(fakeRegistry.GetDword(kProgramKey, "Mode"), 1u);
}

TEST_F(ApplicationTest, KeysAMacroHoldsGoUpWhenTheComputerSuspendsAndWhenTheLogonEnds) {
    ASSERT_TRUE(Start());
    EXPECT_FALSE(application.TryMacro("Hold Alt; Wiat 5000"));
    ASSERT_TRUE(application.TryMacro("Hold Alt; Wait 5000"));
    application.OnMacroTimer();  // the try's two seconds
    EXPECT_TRUE(input.IsKeyDown(0x12));
    application.OnPowerBroadcast(kPbtApmSuspend);
    EXPECT_FALSE(input.AnyKeyDown());

    ASSERT_TRUE(application.TryMacro("Hold Ctrl; Wait 5000"));
    application.OnMacroTimer();
    EXPECT_TRUE(input.IsKeyDown(0x11));
    application.EndSession(true);
    EXPECT_FALSE(input.AnyKeyDown());
}

TEST_F(ApplicationTest, FailedSaveAtTheEndOfTheLogonShowsNoDialogButIsLogged) {
    ASSERT_TRUE(Start());
    fakeRegistry.failingWrites = {"Sound"};
    Journal().clear();
    application.EndSession(true);
    EXPECT_TRUE(fakeDialogs.Texts().empty());
    EXPECT_EQ(Journal(), (std::vector<std::string>{"write settings", "end now"}));
    EXPECT_EQ(log.lines.back(), "Saving failed: Failed to set data for 'Sound'");
}

TEST_F(ApplicationTest, AMapThatCannotBeWrittenAtTheEndOfTheLogonIsLoggedAndLeftWhole) {
    const std::string before = "[Buttons]\n00BE0035=Play\n";
    fakeProfile = FakeProfileFile::FromText(before);
    ASSERT_TRUE(Start());
    model.map.SetRemoteName("Hall");
    fakeProfile.replaceFails = true;
    application.EndSession(true);
    EXPECT_TRUE(fakeDialogs.Texts().empty());
    EXPECT_EQ(fakeProfile.ToText(), before);
    EXPECT_EQ(log.lines.back().rfind("Saving failed: ", 0), 0u) << log.lines.back();
    EXPECT_TRUE(fakeProcess.ended);
}

TEST_F(ApplicationTest, CancelledLogoffSavesNothingAndLeavesTheWindowFreeToClose) {
    ASSERT_TRUE(Start());
    Journal().clear();
    EXPECT_TRUE(application.QueryEndSession());
    application.EndSession(false);
    EXPECT_FALSE(fakeProcess.ended);
    EXPECT_TRUE(Journal().empty());
    EXPECT_TRUE(application.CanClose());
}

TEST_F(ApplicationTest, EditorFillAndSaveKeepTheWinFlagAndACapturedKeyReadsBackTheSame) {
    fakeProfile = FakeProfileFile::FromText("[Buttons]\n00BE0035=Play\n[Keys]\n00BE0035=1044\n");
    ASSERT_TRUE(Start());
    Receive({kPlay, 0});
    EXPECT_EQ(model.editor.keyText, "D");
    EXPECT_TRUE(model.editor.win);

    application.CommitEditor();
    application.SaveAll();
    EXPECT_EQ(IniValue("Keys", "00BE0035"), "1044");

    application.CaptureKey('D', {true, true, false});
    EXPECT_EQ(model.editor.keyText, "Ctrl+Alt+D");
    application.CommitEditor();
    application.SaveAll();
    EXPECT_EQ(IniValue("Keys", "00BE0035"), "D044");

    EditorButton edited = model.editor;
    edited.keyText = "None";
    edited.keyCodeValue = 0;
    edited.win = false;
    application.ChangeEditor(edited);
    Receive({kPlay, 0});
    EXPECT_EQ(model.editor.keyText, "Ctrl+Alt+D");
    EXPECT_TRUE(model.editor.win);
}

TEST_F(ApplicationTest, UncommittedEditsAreLostWhenTheButtonIsReadAgainAndTheStatusBarSaysSo) {
    ASSERT_TRUE(Start());
    Receive({kPlay, 0});
    EditorButton edited = model.editor;
    edited.applicationPath = "C:\\Tools\\player.exe";
    application.ChangeEditor(edited);
    EXPECT_EQ(model.editor.applicationPath, "C:\\Tools\\player.exe");
    // Another button replaces the edits; the notice names the button they were made to.
    Receive({0x00BE0010, 0});
    EXPECT_EQ(model.editor.applicationPath, "");
    EXPECT_EQ(model.status[0], "Unsaved changes to '00BE0035' were discarded");

    edited = model.editor;
    edited.name = "Play";
    application.ChangeEditor(edited);
    application.CommitEditor();
    EXPECT_EQ(model.status[0], "'Play' is defined; Save Settings writes it to the file");
    application.SaveAll();
    EXPECT_EQ(model.status[0], "Settings saved");
    // Once saved, the next press replaces nothing unsaved.
    Receive({kPlay, 0});
    EXPECT_EQ(model.status[0], "Settings saved");
}

TEST_F(ApplicationTest, SavingBeforeAnyButtonWasReadFilesNothing) {
    ASSERT_TRUE(Start());
    EditorButton ghost;
    ghost.name = "Ghost";
    application.ChangeEditor(ghost);
    application.CommitEditor();
    application.SaveAll();
    EXPECT_TRUE(fakeProfile.ToText().find("Ghost") == std::string::npos);
}

TEST_F(ApplicationTest, PresetKeyReplacesACapturedCombination) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(model.editor.keyText, "None");
    application.CaptureKey('D', {true, true, false});
    EXPECT_EQ(model.editor.keyCodeValue, 0xC044);
    application.ChoosePresetKey(11);
    EXPECT_EQ(model.editor.keyText, "Volume Up");
    EXPECT_EQ(model.editor.keyCodeValue, 175);
    // No item chosen: nothing changes.
    application.ChoosePresetKey(-1);
    EXPECT_EQ(model.editor.keyText, "Volume Up");
}

TEST_F(ApplicationTest, OsdColourComesFromTheSettingsAndTheUsersChoice) {
    fakeRegistry.PutDword(kProgramKey, "OSDColor", 0x000000FF);
    ASSERT_TRUE(Start());
    EXPECT_EQ(osdColours, std::vector<std::uint32_t>{0x000000FF});

    application.ChangeOsdColour(0x00123456);
    EXPECT_EQ(osdColours.back(), 0x00123456u);
    application.SaveAll();
    EXPECT_EQ(fakeRegistry.GetDword(kProgramKey, "OSDColor"), 0x00123456u);
}

TEST_F(ApplicationTest, DefaultOsdColourIsUsedWhenNoneIsStored) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(osdColours, std::vector<std::uint32_t>{kDefaultOsdColour});
}

}  // namespace
}  // namespace quorvel
