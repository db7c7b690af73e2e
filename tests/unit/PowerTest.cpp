#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "actions/Power.h"
#include "actions/PowerBroadcast.h"
#include "actions/SleepTimer.h"
#include "fakes/FakeLog.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeInput.h"
#include "fakes/FakeLibraries.h"
#include "fakes/FakeNotifications.h"
#include "fakes/FakePower.h"
#include "fakes/FakePowerSystem.h"
#include "fakes/FakeProfileFile.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeTimer.h"
#include "model/Model.h"
#include "settings/SettingsStore.h"

namespace quorvel {
namespace {

using Suspend = FakePowrprofState::SuspendCall;
constexpr std::uint32_t kAllOnes = 0xFFFFFFFF;

const std::vector<std::string> kShutdownSteps = {"OpenProcessToken(0x28)", "LookupPrivilegeValue(SeShutdownPrivilege)",
                                                 "AdjustTokenPrivileges(19,2)", "CloseToken"};

class PowerTest : public ::testing::Test {
protected:
    PowerTest() {
        FakePowrprofState::Reset();
        AddFakePowrprof(libraries);
        mainT.Start(kTickMs);
        mainT.history.clear();
    }

    // Loads the library and runs each action once.
    void RunAll() {
        power.LoadPowerLibrary();
        power.PowerSleep();
        power.PowerHibernate();
        power.PowerShutdown();
    }
    std::vector<std::string> ShutdownCalls(const char* exitCall) const {
        std::vector<std::string> calls = kShutdownSteps;
        calls.push_back(exitCall);
        return calls;
    }

    Settings settings;
    FakeLibraries libraries;
    FakePowerSystem system;
    FakeTimer mainT;
    Power power{PowerContext{settings, libraries, system, mainT}};
};

TEST_F(PowerTest, EachActionMakesItsCall) {
    RunAll();
    EXPECT_EQ(FakePowrprofState::Get().suspends, (std::vector<Suspend>{{0, 0, 0}, {kAllOnes, 0, 0}}));
    EXPECT_EQ(system.calls, ShutdownCalls("ExitWindowsEx(0x08,0)"));
    EXPECT_EQ(system.OpenTokens(), 0u);
}

TEST_F(PowerTest, ForceOptionsAddForceCriticalToSleepAndForceToShutdownOnly) {
    settings.forceSuspend = settings.forceShutdown = true;
    RunAll();
    EXPECT_EQ(FakePowrprofState::Get().suspends, (std::vector<Suspend>{{0, kAllOnes, 0}, {kAllOnes, 0, 0}}));
    EXPECT_EQ(system.calls.back(), "ExitWindowsEx(0x0C,0)");
}

TEST_F(PowerTest, ForceOptionsStoredOnVersionSixAreNotUsed) {
    for (const std::uint32_t major : {5u, 6u}) {
        FakePowrprofState::Reset();
        FakeRegistry registry;
        registry.PutDword("Software\\Vantrel\\Quorvel", "Force Shutdown", 1);
        registry.PutDword("Software\\Vantrel\\Quorvel", "Force Suspend", 1);
        FakeDialogs dialogs;
        FakeProfileFile profile;
        FakeLog log;
        Model model;
        SettingsStore store(SettingsContext{registry, dialogs, profile, model, u"Q.exe", log});
        store.LoadSettings(major);

        FakePowerSystem versionSystem;
        Power versionPower(PowerContext{model.settings, libraries, versionSystem, mainT});
        versionPower.LoadPowerLibrary();
        versionPower.PowerSleep();
        versionPower.PowerShutdown();
        const bool force = major < 6;
        EXPECT_EQ(FakePowrprofState::Get().suspends, (std::vector<Suspend>{{0, force ? kAllOnes : 0, 0}})) << major;
        EXPECT_EQ(versionSystem.calls.back(), force ? "ExitWindowsEx(0x0C,0)" : "ExitWindowsEx(0x08,0)") << major;
    }
}

TEST_F(PowerTest, SuspendStopsPollingFirstAndLeavesItToTheResume) {
    std::vector<std::uint32_t> intervalWhileSuspending;
    FakePowrprofState::Get().whileSuspending = [&] { intervalWhileSuspending.push_back(mainT.IntervalMs()); };
    power.LoadPowerLibrary();
    power.PowerSleep();
    power.PowerHibernate();
    EXPECT_EQ(intervalWhileSuspending, (std::vector<std::uint32_t>{0, 0}));
    EXPECT_EQ(mainT.history, (std::vector<std::uint32_t>{0, 0}));
}

TEST_F(PowerTest, RefusedSuspendRestartsPolling) {
    FakePowrprofState::Get().suspendResult = 0;
    power.LoadPowerLibrary();
    power.PowerSleep();
    power.PowerHibernate();
    EXPECT_EQ(mainT.history, (std::vector<std::uint32_t>{0, 50, 0, 50}));
}

TEST_F(PowerTest, MissingLibraryExportOrPermissionMakesTheActionDoNothing) {
    struct Case {
        const char* label;
        const char* missingExport;
        bool suspendAllowed, hibernateAllowed, shutdownAllowed;
        std::vector<Suspend> suspends;
        bool shutdown;
    };
    const Case cases[] = {
        {"SetSuspendState missing", "SetSuspendState", true, true, true, {}, true},
        {"IsPwrSuspendAllowed missing", "IsPwrSuspendAllowed", true, true, true, {{kAllOnes, 0, 0}}, true},
        {"IsPwrHibernateAllowed missing", "IsPwrHibernateAllowed", true, true, true, {{0, 0, 0}}, true},
        {"IsPwrShutdownAllowed missing", "IsPwrShutdownAllowed", true, true, true,
         {{0, 0, 0}, {kAllOnes, 0, 0}}, false},
        {"sleep not allowed", nullptr, false, true, true, {{kAllOnes, 0, 0}}, true},
        {"hibernation not allowed", nullptr, true, false, true, {{0, 0, 0}}, true},
        {"shutdown not allowed", nullptr, true, true, false, {{0, 0, 0}, {kAllOnes, 0, 0}}, false},
    };
    for (const Case& c : cases) {
        FakePowrprofState::Reset();
        FakePowrprofState::Get().suspendAllowed = c.suspendAllowed;
        FakePowrprofState::Get().hibernateAllowed = c.hibernateAllowed;
        FakePowrprofState::Get().shutdownAllowed = c.shutdownAllowed;
        FakeLibraries partial;
        AddFakePowrprof(partial);
        if (c.missingExport) partial.RemoveExport("powrprof.dll", c.missingExport);
        FakePowerSystem caseSystem;
        FakeTimer caseTimer;
        Power casePower(PowerContext{settings, partial, caseSystem, caseTimer});
        casePower.LoadPowerLibrary();
        casePower.PowerSleep();
        casePower.PowerHibernate();
        casePower.PowerShutdown();
        EXPECT_EQ(FakePowrprofState::Get().suspends, c.suspends) << c.label;
        EXPECT_EQ(caseSystem.calls.empty(), !c.shutdown) << c.label;
        EXPECT_EQ(caseTimer.history.size(), c.suspends.size()) << c.label << ": polling stops only for a suspend";
    }
}

TEST_F(PowerTest, WithoutTheLibraryNothingHappens) {
    FakeLibraries none;
    Power withoutLibrary(PowerContext{settings, none, system, mainT});
    EXPECT_FALSE(withoutLibrary.LoadPowerLibrary());
    withoutLibrary.PowerSleep();
    withoutLibrary.PowerHibernate();
    withoutLibrary.PowerShutdown();
    withoutLibrary.FreePowerLibrary();
    EXPECT_EQ(none.calls, std::vector<std::string>{"Load powrprof.dll"});
    EXPECT_TRUE(system.calls.empty());
    EXPECT_TRUE(mainT.history.empty());
}

TEST_F(PowerTest, FailedPrivilegeStepPreventsTheShutdown) {
    power.LoadPowerLibrary();
    system.openTokenFails = true;
    power.PowerShutdown();
    EXPECT_EQ(system.calls, std::vector<std::string>{"OpenProcessToken(0x28)"});

    system.calls.clear();
    system.openTokenFails = false;
    system.adjustError = 1300;
    power.PowerShutdown();
    EXPECT_EQ(system.calls, kShutdownSteps);
    EXPECT_EQ(system.OpenTokens(), 0u);
}

TEST_F(PowerTest, LibraryIsFreedOnce) {
    power.LoadPowerLibrary();
    power.FreePowerLibrary();
    power.FreePowerLibrary();
    EXPECT_EQ(libraries.calls, (std::vector<std::string>{"Load powrprof.dll", "Free powrprof.dll"}));
    power.PowerShutdown();
    EXPECT_TRUE(system.calls.empty());
}

class PowerBroadcastTest : public ::testing::Test {
protected:
    Model model;
    FakeTimer mainT;
    FakeTimer offTimer;
    FakeInput input;
    FakeOsd osd;
    FakePower power;
    SleepTimer sleepTimer{SleepTimerContext{model, offTimer, input, osd, power}};
};

TEST_F(PowerBroadcastTest, SuspendStopsAndResumeStartsPollingByVersion) {
    enum Effect { kNothing, kStops, kStarts };
    struct Case {
        std::uint32_t major;
        std::uintptr_t event;
        Effect effect;
    };
    const Case cases[] = {
        {6, 0x04, kStops},   {6, 0x12, kStarts}, {6, 0x06, kNothing}, {6, 0x07, kNothing}, {6, 0x0A, kNothing},
        {10, 0x12, kStarts}, {5, 0x04, kStops},  {5, 0x06, kStarts},  {5, 0x12, kStarts},  {5, 0x07, kNothing},
        {5, 0x0A, kNothing}, {5, 0x00, kNothing},
    };
    for (const Case& c : cases) {
        FakeTimer tick;
        tick.Start(kTickMs);
        tick.history.clear();
        WMPowerBroadcast(c.event, c.major, tick, sleepTimer);
        const std::vector<std::uint32_t> expected = c.effect == kStops    ? std::vector<std::uint32_t>{0}
                                                    : c.effect == kStarts ? std::vector<std::uint32_t>{50}
                                                                          : std::vector<std::uint32_t>{};
        EXPECT_EQ(tick.history, expected) << "version " << c.major << ", event " << c.event;
    }
}

TEST_F(PowerBroadcastTest, ResumeCancelsARunningSleepTimer) {
    sleepTimer.ToggleSleepTimer();
    input.ClearCalls();
    WMPowerBroadcast(0x12, 6, mainT, sleepTimer);
    EXPECT_FALSE(sleepTimer.IsRunning());
    EXPECT_EQ(model.status, (std::array<std::string, 2>{"Sleep Timer Off", ""}));
    EXPECT_EQ(input.Calls(), std::vector<InputCall>{InputCall::Pump()});
    EXPECT_TRUE(power.calls.empty());
}

TEST_F(PowerBroadcastTest, ResumeWithTheSleepTimerIdleLeavesTheStatusAlone) {
    model.status[0] = "Behold TV Card initialize success!";
    WMPowerBroadcast(0x12, 6, mainT, sleepTimer);
    EXPECT_EQ(model.status[0], "Behold TV Card initialize success!");
    EXPECT_TRUE(input.Calls().empty());
}

}  // namespace
}  // namespace quorvel
