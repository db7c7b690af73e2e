#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/FakeLog.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeProfileFile.h"
#include "fakes/FakeRegistry.h"
#include "fakes/RecordingObserver.h"
#include "model/Model.h"
#include "settings/SettingsStore.h"

namespace quorvel {
namespace {

constexpr const char* kKey = "Software\\Vantrel\\Quorvel";
constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kExe = "C:\\Program Files\\Quorvel\\Quorvel.exe";
constexpr const char16_t* kWideExe = u"C:\\Program Files\\Quorvel\\Quorvel.exe";
constexpr const char* kQuotedExe = "\"C:\\Program Files\\Quorvel\\Quorvel.exe\"";

// A settings store over fakes and a model in its start-up state.
struct SettingsRig {
    FakeRegistry registry;
    FakeDialogs dialogs;
    FakeProfileFile profile;
    FakeLog log;
    Model model;
    Settings& settings = model.settings;
    SettingsStore store{SettingsContext{registry, dialogs, profile, model, kWideExe, log}};

    void Load(std::uint32_t osMajorVersion = 5) { store.LoadSettings(osMajorVersion); }
    // The names of the values written, in order.
    std::vector<std::string> Written() const {
        std::vector<std::string> ordered;
        for (const std::string& call : registry.calls) {
            for (const char* prefix : {"SetDword ", "SetString ", "SetWideString "}) {
                const std::string p = prefix;
                if (call.rfind(p, 0) == 0) ordered.push_back(call.substr(p.size(), call.find('=') - p.size()));
            }
        }
        return ordered;
    }
};

// The flags stored as numbers, with their defaults; "BeholdTV" and the autorun entry keep
// what they were when nothing is stored, and are tested on their own.
struct StoredFlag {
    const char* name;
    bool Settings::*flag;
    bool fallback;
};
const StoredFlag kStoredFlags[] = {
    {"Autorepeat", &Settings::autorepeat, true},
    {"LIRC Server Enabled", &Settings::lircServerEnabled, true},
    {"Force Shutdown", &Settings::forceShutdown, false},
    {"Force Suspend", &Settings::forceSuspend, false},
    {"Sound", &Settings::sound, false},
    {"Balloon Hints", &Settings::balloonHints, false},
    {"Hidden Icon", &Settings::hiddenIcon, false},
    {"Compro Btn 0", &Settings::comproButton0, false},
    {"OSD", &Settings::osd, false},
    {"OSD2Display", &Settings::osdSecondDisplay, false},
    {"SleepOSD", &Settings::sleepOsd, true},
    {"ComproRemote", &Settings::comproRemoteOff, true},
    {"ComproDTV", &Settings::comproDtv, true},
};

const std::vector<std::string> kReadOrder = {
    "Autorepeat", "LIRC Server Enabled", "LIRC Server Port", "Force Shutdown", "Force Suspend",
    "Sound",      "Balloon Hints",       "Hidden Icon",      "Compro Btn 0",   "Card",
    "Mode",       "OSD",                 "OSDColor",         "OSD2Display",    "SleepTime",
    "SleepOSD",   "SleepAction",         "BeholdTV",         "ComproRemote",   "ComproDTV",
    "Network Receiver", "Long Press Time", "Repeat Delay", "Repeat Interval", "Double Press Time", "Scan Codes"};

TEST(FakeRegistry, MatchesNamesWithoutCaseAndKeepsTypes) {
    FakeRegistry registry;
    registry.PutString("Software\\A", "Port", "8765");
    const RegistryKey key = registry.OpenKey("SOFTWARE\\a");
    ASSERT_NE(key, kNoKey);
    const auto value = registry.QueryValue(key, "PORT");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, kRegSz);
    EXPECT_EQ(value->data, std::string("8765") + '\0');
    EXPECT_TRUE(registry.SetDword(key, "port", 5));
    EXPECT_EQ(registry.GetDword("software\\A", "Port"), 5u);
    EXPECT_FALSE(registry.GetString("Software\\A", "Port"));
    registry.CloseKey(key);
    EXPECT_EQ(registry.OpenHandles(), 0u);
}

TEST(FakeRegistry, OpensOnlyExistingKeysButCreatesMissingOnes) {
    FakeRegistry registry;
    EXPECT_EQ(registry.OpenKey("Software\\B"), kNoKey);
    const RegistryKey created = registry.CreateKey("Software\\B");
    EXPECT_NE(created, kNoKey);
    EXPECT_TRUE(registry.HasKey("Software\\B"));
    registry.unopenableKeys.insert("Software\\C");
    EXPECT_EQ(registry.CreateKey("Software\\C"), kNoKey);
    EXPECT_FALSE(registry.HasKey("Software\\C"));
    registry.CloseKey(created);
}

TEST(FakeRegistry, RefusesClosedHandlesAndFailingWrites) {
    FakeRegistry registry;
    const RegistryKey key = registry.CreateKey("Software\\D");
    registry.failingWrites.insert("Bad");
    EXPECT_FALSE(registry.SetDword(key, "Bad", 1));
    EXPECT_FALSE(registry.Get("Software\\D", "Bad"));
    registry.CloseKey(key);
    EXPECT_FALSE(registry.SetDword(key, "Good", 1));
    EXPECT_FALSE(registry.QueryValue(key, "Good"));
    EXPECT_EQ(registry.invalidHandleUses, 2);
}

TEST(LoadSettings, EmptyRegistryGivesEveryDefaultAndCreatesTheKeyOnly) {
    SettingsRig rig;
    for (const StoredFlag& f : kStoredFlags) rig.settings.*f.flag = !f.fallback;
    rig.settings.lircServerPort = "1";
    rig.settings.cardIndex = 7;
    rig.settings.sleepTime = 99;
    rig.settings.sleepAction = 0;
    rig.settings.osdColor = 0;
    rig.model.mode = EmulationMode::Keys;
    RecordingObserver observer;
    rig.model.observer = &observer;
    rig.Load();

    for (const StoredFlag& f : kStoredFlags) EXPECT_EQ(rig.settings.*f.flag, f.fallback) << f.name;
    EXPECT_EQ(rig.settings.lircServerPort, "8765");
    EXPECT_EQ(rig.settings.cardIndex, 0u);
    EXPECT_EQ(rig.settings.sleepTime, 30);
    EXPECT_EQ(rig.settings.sleepAction, 3);
    EXPECT_EQ(rig.settings.osdColor, 0x00FAFAB4u);
    EXPECT_EQ(rig.model.mode, EmulationMode::WinLIRC);
    EXPECT_EQ(observer.changes, (std::vector<Aspect>{Aspect::Settings, Aspect::Mode}));

    EXPECT_TRUE(rig.registry.HasKey(kKey));
    EXPECT_EQ(rig.registry.ValueCount(kKey), 0u);
    EXPECT_FALSE(rig.registry.HasKey(kRun));
    EXPECT_EQ(rig.registry.OpenHandles(), 0u);
    EXPECT_TRUE(rig.dialogs.shown.empty());
}

TEST(LoadSettings, ReadsTheValuesInTheirOrderAndSkipsForceOptionsFromVersionSix) {
    for (const std::uint32_t major : {5u, 6u, 10u}) {
        SettingsRig rig;
        rig.registry.PutDword(kKey, "Force Shutdown", 1);
        rig.registry.PutDword(kKey, "Force Suspend", 1);
        rig.Load(major);

        std::vector<std::string> expected = kReadOrder;
        if (major >= 6) std::erase_if(expected, [](const std::string& n) { return n.rfind("Force ", 0) == 0; });
        EXPECT_EQ(rig.registry.NamesOf("Query"), expected) << major;
        EXPECT_EQ(rig.settings.forceShutdown, major < 6) << major;
        EXPECT_EQ(rig.settings.forceSuspend, major < 6) << major;
        EXPECT_EQ(rig.settings.forceOptionsAvailable, major < 6) << major;
    }
}

TEST(LoadSettings, EachFlagIsSetByAnyNonZeroNumber) {
    for (const StoredFlag& f : kStoredFlags) {
        for (const std::uint32_t stored : {0u, 1u, 7u}) {
            SettingsRig rig;
            rig.registry.PutDword(kKey, f.name, stored);
            rig.Load();
            EXPECT_EQ(rig.settings.*f.flag, stored != 0) << f.name << " = " << stored;
        }
    }
}

TEST(LoadSettings, NumbersAndTextsTakeTheirStoredValues) {
    SettingsRig rig;
    rig.registry.PutDword(kKey, "Card", 2);
    rig.registry.PutDword(kKey, "OSDColor", 0x0000FF00);
    rig.registry.PutDword(kKey, "SleepTime", 0xFFFFFFFB);
    rig.registry.PutDword(kKey, "SleepAction", 257);
    rig.registry.PutString(kKey, "LIRC Server Port", "9000", kRegExpandSz);
    rig.Load();

    EXPECT_EQ(rig.settings.cardIndex, 2u);
    EXPECT_EQ(rig.settings.osdColor, 0x0000FF00u);
    EXPECT_EQ(rig.settings.sleepTime, -5);
    EXPECT_EQ(rig.settings.sleepAction, 1) << "held in one byte";
    EXPECT_EQ(rig.settings.lircServerPort, "9000");
}

TEST(LoadSettings, ModeIsTheStoredOneAndAnythingElseIsWinLirc) {
    using enum EmulationMode;
    const std::pair<std::optional<std::uint32_t>, EmulationMode> cases[] = {
        {std::nullopt, WinLIRC}, {0, WinLIRC}, {1, WinLIRC}, {2, Keys},
        {3, Mouse},              {4, Messages}, {7, WinLIRC}, {0xFFFFFFFF, WinLIRC}};
    for (const auto& [stored, mode] : cases) {
        SettingsRig rig;
        rig.model.mode = Keys;
        if (stored) rig.registry.PutDword(kKey, "Mode", *stored);
        rig.Load();
        EXPECT_EQ(rig.model.mode, mode) << (stored ? std::to_string(*stored) : "absent");
    }
}

TEST(LoadSettings, ValueOfTheWrongTypeTakesItsDefaultAndTheRestStillLoad) {
    SettingsRig rig;
    rig.registry.PutString(kKey, "Autorepeat", "0");
    rig.registry.PutDword(kKey, "LIRC Server Port", 9000);
    rig.registry.Put(kKey, "Mode", {kRegBinary, std::string("\x02\0\0\0", 4)});
    rig.registry.Put(kKey, "SleepTime", {kRegDword, std::string("\x05\0", 2)});
    rig.registry.PutString(kKey, "OSDColor", "255");
    rig.registry.PutDword(kKey, "SleepAction", 2);
    rig.registry.PutDword(kKey, "ComproDTV", 0);
    rig.Load();

    EXPECT_TRUE(rig.settings.autorepeat);
    EXPECT_EQ(rig.settings.lircServerPort, "8765");
    EXPECT_EQ(rig.model.mode, EmulationMode::WinLIRC);
    EXPECT_EQ(rig.settings.sleepTime, 30);
    EXPECT_EQ(rig.settings.osdColor, 0x00FAFAB4u);
    EXPECT_EQ(rig.settings.sleepAction, 2);
    EXPECT_FALSE(rig.settings.comproDtv);
    EXPECT_TRUE(rig.dialogs.shown.empty());
}

TEST(LoadSettings, MissingBeholdTvKeepsTheOptionAsItWas) {
    for (const bool before : {false, true}) {
        SettingsRig rig;
        rig.settings.beholdTvPriority = before;
        rig.Load();
        EXPECT_EQ(rig.settings.beholdTvPriority, before);
    }
}

TEST(LoadSettings, UnopenableKeyGivesDefaultsAndStillRestoresModeAndAutorun) {
    SettingsRig rig;
    rig.registry.unopenableKeys.insert(kKey);
    rig.registry.PutString(kRun, "Quorvel", kQuotedExe);
    rig.settings.sleepTime = 0;
    rig.Load();
    EXPECT_EQ(rig.registry.NamesOf("QueryWide"), std::vector<std::string>{"Quorvel"});
    EXPECT_EQ(rig.model.mode, EmulationMode::WinLIRC);
    EXPECT_EQ(rig.settings.sleepTime, 30);
    EXPECT_EQ(rig.settings.lircServerPort, "8765");
    EXPECT_TRUE(rig.settings.autorun);
    EXPECT_EQ(rig.registry.OpenHandles(), 0u);
}

TEST(LoadSettings, AutorunIsOnOnlyForThisCopysQuotedPath) {
    struct Case {
        std::optional<RegistryValue> value;
        bool on;
    };
    const auto text = [](const std::string& s) { return RegistryValue{kRegSz, s + '\0'}; };
    const Case cases[] = {
        {std::nullopt, false},
        {text(kQuotedExe), true},
        {text(std::string(kQuotedExe) + " /min"), true},
        {text("cmd /c " + std::string(kQuotedExe)), true},
        {text("\"C:\\PROGRAM FILES\\Quorvel\\Quorvel.exe\""), false},
        {text(kExe), false},
        {text("\"D:\\Tools\\Quorvel.exe\""), false},
        {RegistryValue{kRegDword, std::string(4, '\1')}, false},
    };
    for (const Case& c : cases) {
        SettingsRig rig;
        rig.settings.autorun = !c.on;
        rig.registry.CreateKey(kRun);
        if (c.value) rig.registry.Put(kRun, "Quorvel", *c.value);
        rig.Load();
        EXPECT_EQ(rig.settings.autorun, c.on) << (c.value ? c.value->data : "absent");
    }

    SettingsRig noRunKey;
    noRunKey.settings.autorun = true;
    noRunKey.Load();
    EXPECT_TRUE(noRunKey.settings.autorun) << "keeps its state";
    EXPECT_FALSE(noRunKey.registry.HasKey(kRun)) << "opened without creation";
}

TEST(SaveAll, WritesEveryValueInOrderWithItsType) {
    SettingsRig rig;
    rig.Load();
    rig.settings.lircServerPort = "9000";
    rig.settings.sound = true;
    rig.model.receiver = {{"Card A", "Card B"}, 1, true};
    rig.model.mode = EmulationMode::Mouse;
    rig.settings.osdColor = 0x00123456;
    rig.settings.sleepTime = -5;
    rig.settings.sleepOsd = false;
    rig.settings.sleepAction = 2;
    rig.registry.calls.clear();

    EXPECT_TRUE(rig.store.SaveAll(true));
    EXPECT_EQ(rig.Written(),
              (std::vector<std::string>{"Autorepeat", "LIRC Server Enabled", "LIRC Server Port", "Force Shutdown",
                                        "Force Suspend", "Sound", "Balloon Hints", "Card", "Mode", "OSD",
                                        "OSDColor", "OSD2Display", "SleepTime", "SleepOSD", "SleepAction",
                                        "BeholdTV", "ComproRemote", "ComproDTV", "Long Press Time",
                                        "Repeat Delay", "Repeat Interval", "Double Press Time", "Scan Codes"}));
    const std::pair<const char*, std::uint32_t> numbers[] = {
        {"Autorepeat", 1}, {"LIRC Server Enabled", 1}, {"Force Shutdown", 0}, {"Sound", 1},
        {"Card", 1},       {"Mode", 3},                {"OSDColor", 0x00123456}, {"SleepTime", 0xFFFFFFFB},
        {"SleepOSD", 0},   {"SleepAction", 2},         {"BeholdTV", 0},          {"ComproDTV", 1}};
    for (const auto& [name, number] : numbers) EXPECT_EQ(rig.registry.GetDword(kKey, name), number) << name;
    EXPECT_EQ(rig.registry.GetString(kKey, "LIRC Server Port"), "9000");
    EXPECT_FALSE(rig.registry.Get(kKey, "Hidden Icon"));
    EXPECT_FALSE(rig.registry.Get(kKey, "Compro Btn 0"));
    EXPECT_EQ(rig.registry.OpenHandles(), 0u);
    EXPECT_GT(rig.profile.writes, 0) << "the button map is saved last";
}

TEST(SaveAll, LoadThenSaveKeepsWhatWasStoredExceptWhatCannotBeHeld) {
    SettingsRig rig;
    rig.registry.PutDword(kKey, "Hidden Icon", 1);
    rig.registry.PutDword(kKey, "Compro Btn 0", 9);
    rig.registry.PutDword(kKey, "Card", 2);
    rig.registry.PutDword(kKey, "Mode", 7);
    rig.registry.PutDword(kKey, "SleepTime", 45);
    rig.registry.PutDword(kKey, "SleepAction", 257);
    rig.registry.PutDword(kKey, "Force Shutdown", 1);
    rig.Load(6);
    EXPECT_TRUE(rig.store.SaveAll(false));

    EXPECT_EQ(rig.registry.GetDword(kKey, "Hidden Icon"), 1u);
    EXPECT_EQ(rig.registry.GetDword(kKey, "Compro Btn 0"), 9u);
    EXPECT_EQ(rig.registry.GetDword(kKey, "Card"), 2u) << "not written without the Beholder library";
    EXPECT_EQ(rig.registry.GetDword(kKey, "Mode"), 1u);
    EXPECT_EQ(rig.registry.GetDword(kKey, "SleepTime"), 45u);
    EXPECT_EQ(rig.registry.GetDword(kKey, "SleepAction"), 1u);
    EXPECT_EQ(rig.registry.GetDword(kKey, "Force Shutdown"), 0u);
}

TEST(SaveAll, NoModeYetWritesNoMode) {
    SettingsRig rig;
    rig.registry.PutDword(kKey, "Mode", 3);
    EXPECT_TRUE(rig.store.SaveAll(false));
    EXPECT_EQ(rig.registry.GetDword(kKey, "Mode"), 3u);
    EXPECT_EQ(rig.Written().size(), 21u);
}

TEST(SaveAll, FailedWriteStopsEverythingAfterItWithAMessage) {
    for (const char* failing : {"Autorepeat", "LIRC Server Port", "Card", "Mode", "ComproDTV"}) {
        SettingsRig rig;
        rig.Load();
        rig.settings.autorun = true;
        rig.registry.failingWrites.insert(failing);
        rig.registry.calls.clear();

        EXPECT_FALSE(rig.store.SaveAll(true)) << failing;
        EXPECT_EQ(rig.Written().back(), failing);
        const FakeDialogs::Shown message{std::string("Failed to set data for '") + failing + "'", MessageKind::Error};
        EXPECT_EQ(rig.dialogs.shown, std::vector<FakeDialogs::Shown>{message});
        EXPECT_FALSE(rig.registry.HasKey(kRun)) << "no autorun stage after " << failing;
        EXPECT_EQ(rig.profile.writes, 0) << "no button map after " << failing;
        EXPECT_EQ(rig.registry.OpenHandles(), 0u);
    }
}

TEST(SaveAll, FailedAutorunWriteStopsBeforeTheButtonMap) {
    SettingsRig rig;
    rig.settings.autorun = true;
    rig.registry.failingWrites.insert("Quorvel");
    EXPECT_FALSE(rig.store.SaveAll(false));
    EXPECT_EQ(rig.dialogs.Texts(), std::vector<std::string>{"Failed to set data for 'Quorvel'"});
    EXPECT_EQ(rig.profile.writes, 0);
    EXPECT_EQ(rig.registry.OpenHandles(), 0u);
}

TEST(SaveAll, UnopenableKeyIsReportedAndLoggedAndTheLaterStagesRun) {
    struct Case {
        const char* unopenable;
        const char* message;
        const char* saved;
    };
    const Case cases[] = {
        {kKey, "Failed to set data for 'Autorepeat'", "Saved the autorun entry and the button map "},
        {kRun, "Failed to set data for 'Quorvel'", "Saved the settings and the button map "},
    };
    for (const Case& c : cases) {
        SettingsRig rig;
        rig.registry.unopenableKeys.insert(c.unopenable);
        rig.settings.autorun = true;
        EXPECT_FALSE(rig.store.SaveAll(true)) << c.unopenable;
        EXPECT_EQ(rig.dialogs.Texts(), std::vector<std::string>{c.message});
        EXPECT_GT(rig.profile.writes, 0) << c.unopenable;
        ASSERT_EQ(rig.log.lines.size(), 2u) << c.unopenable;
        EXPECT_EQ(rig.log.lines[0], std::string("Saving failed: ") + c.message);
        EXPECT_EQ(rig.log.lines[1].rfind(c.saved, 0), 0u) << rig.log.lines[1];
    }
}

TEST(SaveAll, ValuesThatCannotBeDeletedStopTheSaveWithAMessage) {
    for (const char* path : {kKey, kRun}) {
        SettingsRig rig;
        rig.registry.PutString(kKey, "Network Receiver", "lirc:1");
        rig.registry.PutString(kRun, "Quorvel", kQuotedExe);
        const std::string name = path == kKey ? "Network Receiver" : "Quorvel";
        rig.registry.failingWrites.insert(name);
        EXPECT_FALSE(rig.store.SaveAll(false)) << name;
        EXPECT_EQ(rig.dialogs.Texts(), std::vector<std::string>{"Failed to set data for '" + name + "'"});
        EXPECT_EQ(rig.profile.writes, 0) << name;
    }
}

TEST(SaveAll, FailedButtonMapWriteIsReportedWithTheIniBesideTheExecutable) {
    SettingsRig rig;
    rig.profile.writeFails = true;
    EXPECT_FALSE(rig.store.SaveAll(false));
    EXPECT_EQ(rig.dialogs.Texts(),
              std::vector<std::string>{"Unable to write to C:\\Program Files\\Quorvel\\Quorvel.ini"});
}

TEST(SaveAll, NetworkReceiverIsStoredWhileOnAndRemovedWhenOff) {
    SettingsRig rig;
    rig.registry.PutString(kKey, "Network Receiver", " 192.168.1.20:8765");
    rig.Load();
    EXPECT_TRUE(rig.settings.networkReceiver);
    EXPECT_EQ(rig.settings.networkReceiverAddress, " 192.168.1.20:8765");

    rig.settings.networkReceiverAddress = "[::1]:8765";
    rig.registry.calls.clear();
    EXPECT_TRUE(rig.store.SaveAll(false));
    EXPECT_EQ(rig.Written().back(), "Network Receiver");
    EXPECT_EQ(rig.registry.GetString(kKey, "Network Receiver"), "[::1]:8765");

    // Off, or on without a server: the value goes, and a blank one reads as off.
    for (const auto& [on, address] : {std::pair{false, "[::1]:8765"}, std::pair{true, " "}}) {
        rig.registry.PutString(kKey, "Network Receiver", "lirc:1");
        rig.settings.networkReceiver = on;
        rig.settings.networkReceiverAddress = address;
        EXPECT_TRUE(rig.store.SaveAll(false));
        EXPECT_FALSE(rig.registry.Get(kKey, "Network Receiver")) << address;
    }
    rig.registry.PutString(kKey, "Network Receiver", " \t");
    rig.Load();
    EXPECT_FALSE(rig.settings.networkReceiver);
}

TEST(SaveAll, AutorunEntryFollowsTheSetting) {
    struct Case {
        bool on;
        bool runKeyExists;
        std::optional<std::string> before;
        std::optional<std::string> after;
    };
    const std::string withArguments = std::string(kQuotedExe) + " /min";
    const std::string elsewhere = "\"D:\\Tools\\Quorvel.exe\"";
    const Case cases[] = {
        {true, true, std::nullopt, kQuotedExe},  {true, true, withArguments, withArguments},
        {true, true, elsewhere, kQuotedExe},     {true, true, kExe, kQuotedExe},
        {true, false, std::nullopt, kQuotedExe}, {false, true, elsewhere, std::nullopt},
        {false, true, kQuotedExe, std::nullopt}, {false, true, std::nullopt, std::nullopt},
        {false, false, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SettingsRig rig;
        if (c.runKeyExists) rig.registry.CreateKey(kRun);
        if (c.before) rig.registry.PutString(kRun, "Quorvel", *c.before);
        if (c.runKeyExists) rig.registry.PutString(kRun, "Other", "other.exe");
        rig.settings.autorun = c.on;
        const std::string label = std::string(c.on ? "on, " : "off, ") + c.before.value_or("absent");

        EXPECT_TRUE(rig.store.SaveAll(false)) << label;
        EXPECT_EQ(rig.registry.GetString(kRun, "Quorvel"), c.after) << label;
        if (c.runKeyExists) {
            EXPECT_EQ(rig.registry.GetString(kRun, "Other"), "other.exe") << label;
        }
        const bool rewritten = c.on && c.before != c.after;
        EXPECT_EQ(rig.registry.NamesOf("SetWideString"), rewritten ? std::vector<std::string>{"Quorvel"}
                                                                 : std::vector<std::string>{})
            << label;
        EXPECT_EQ(rig.registry.NamesOf("Delete").size(), !c.on && c.before ? 1u : 0u) << label;
    }

    SettingsRig off;
    off.store.SaveAll(false);
    EXPECT_FALSE(off.registry.HasKey(kRun)) << "autorun off never creates the Run key";
}

}  // namespace
}  // namespace quorvel
