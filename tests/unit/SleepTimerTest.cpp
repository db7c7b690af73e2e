#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <utility>
#include <string>
#include <vector>

#include "actions/SleepTimer.h"
#include "fakes/FakeNotifications.h"
#include "fakes/FakePower.h"
#include "fakes/FakeTimer.h"
#include "model/Model.h"
#include "platform/Input.h"

namespace quorvel {
namespace {

// Counts the message pumps and lets a test run a handler inside one, as a pending message would.
class PumpingInput final : public Input {
public:
    int pumps = 0;
    std::function<void()> duringPump;
    std::vector<std::string> panel1AtPump;
    const Model* model = nullptr;

    void KeybdEvent(std::uint8_t, std::uint8_t, std::uint32_t) override {}
    std::uint8_t ScanCode(std::uint8_t) override { return 0; }
    void TypeUnit(char16_t, bool) override {}
    void MouseEvent(std::uint32_t, std::int32_t, std::int32_t, std::int32_t) override {}
    Point GetCursorPos() override { return {}; }
    void SetCursorPos(Point) override {}
    void PumpMessages() override {
        ++pumps;
        if (model) panel1AtPump.push_back(model->status[1]);
        if (duringPump) std::exchange(duringPump, nullptr)();
    }
};

class SleepTimerTest : public ::testing::Test {
protected:
    SleepTimerTest() { input.model = &model; }

    void Minutes(int count) {
        for (int i = 0; i < count; ++i) timer.OffTimerTimer();
    }
    std::vector<std::string> OsdTexts() const {
        std::vector<std::string> texts;
        for (const auto& request : osd.requests) texts.push_back(request.text);
        return texts;
    }

    Model model;
    Settings& settings = model.settings;
    FakeTimer offTimer;
    PumpingInput input;
    FakeOsd osd;
    FakePower power;
    SleepTimer timer{SleepTimerContext{model, offTimer, input, osd, power}};
};

TEST_F(SleepTimerTest, PressSwitchesOnThenOff) {
    timer.ToggleSleepTimer();
    EXPECT_TRUE(timer.IsRunning());
    EXPECT_EQ(offTimer.IntervalMs(), 60000u);
    EXPECT_EQ(model.status, (std::array<std::string, 2>{"Sleep Timer On", "30 min"}));
    EXPECT_EQ(input.pumps, 1);

    timer.ToggleSleepTimer();
    EXPECT_FALSE(timer.IsRunning());
    EXPECT_EQ(model.status, (std::array<std::string, 2>{"Sleep Timer Off", ""}));
    EXPECT_EQ(input.pumps, 2);
    EXPECT_TRUE(power.calls.empty());
}

TEST_F(SleepTimerTest, CountsDownOnTheStatusBarAndTheOsdThenShutsDown) {
    settings.sleepTime = 3;
    timer.ToggleSleepTimer();
    Minutes(2);
    EXPECT_EQ(model.status[1], "1 min");
    EXPECT_TRUE(power.calls.empty());
    Minutes(1);

    EXPECT_EQ(OsdTexts(), (std::vector<std::string>{"2 min", "1 min", "0 min"}));
    EXPECT_EQ(input.panel1AtPump, (std::vector<std::string>{"3 min", "2 min", "1 min", "0 min"}));
    EXPECT_FALSE(timer.IsRunning());
    EXPECT_EQ(model.status, (std::array<std::string, 2>{"Sleep Timer Off", ""}));
    EXPECT_EQ(power.calls, std::vector<std::string>{"Shutdown"});
}

TEST_F(SleepTimerTest, ExpiryRunsTheStoredActionAndAnyOtherNumberDoesNothing) {
    const std::pair<std::uint8_t, std::vector<std::string>> cases[] = {
        {1, {"Sleep"}}, {2, {"Hibernate"}}, {3, {"Shutdown"}}, {0, {}}, {4, {}}, {255, {}}};
    for (const auto& [action, calls] : cases) {
        FakePower casePower;
        FakeTimer caseTimer;
        Model caseModel;
        caseModel.settings.sleepTime = 1;
        caseModel.settings.sleepAction = action;
        SleepTimer sleepTimer(SleepTimerContext{caseModel, caseTimer, input, osd, casePower});
        sleepTimer.ToggleSleepTimer();
        sleepTimer.OffTimerTimer();
        EXPECT_EQ(casePower.calls, calls) << int{action};
        EXPECT_FALSE(sleepTimer.IsRunning()) << int{action};
        EXPECT_EQ(caseModel.status[0], "Sleep Timer Off") << int{action};
    }
}

TEST_F(SleepTimerTest, OsdFollowsSleepOsdAndDisplayTwoButNotTheGeneralOsdOption) {
    settings.sleepTime = 5;
    settings.osd = false;
    settings.osdSecondDisplay = true;
    timer.ToggleSleepTimer();
    Minutes(1);
    EXPECT_EQ(osd.requests, (std::vector<FakeOsd::Request>{{"4 min", true}}));

    settings.sleepOsd = false;
    Minutes(1);
    EXPECT_EQ(osd.requests.size(), 1u);
    EXPECT_EQ(model.status[1], "3 min");
}

TEST_F(SleepTimerTest, EveryStartBeginsAtTheFullSleepTime) {
    settings.sleepTime = 4;
    timer.ToggleSleepTimer();
    Minutes(2);
    timer.ToggleSleepTimer();
    timer.ToggleSleepTimer();
    EXPECT_EQ(model.status[1], "4 min");
    Minutes(3);
    EXPECT_TRUE(power.calls.empty());
    Minutes(1);
    EXPECT_EQ(power.calls, std::vector<std::string>{"Shutdown"});
}

TEST_F(SleepTimerTest, SleepTimeBelowOneMinuteRunsForOneMinuteInsteadOfForever) {
    for (const std::int32_t sleepTime : {0, -1, -100}) {
        FakePower casePower;
        FakeTimer caseTimer;
        Model caseModel;
        caseModel.settings.sleepTime = sleepTime;
        SleepTimer sleepTimer(SleepTimerContext{caseModel, caseTimer, input, osd, casePower});
        EXPECT_EQ(SleepTimerOsdLine(caseModel.settings, false), "Sleep Timer On - 1 min") << sleepTime;
        sleepTimer.ToggleSleepTimer();
        EXPECT_EQ(caseModel.status[1], "1 min") << sleepTime;
        sleepTimer.OffTimerTimer();
        EXPECT_FALSE(sleepTimer.IsRunning()) << sleepTime;
        EXPECT_EQ(casePower.calls, std::vector<std::string>{"Shutdown"}) << sleepTime;
    }
}

TEST_F(SleepTimerTest, SwitchedOffWhileTheLastMinuteIsShownMeansNoAction) {
    settings.sleepTime = 1;
    timer.ToggleSleepTimer();
    input.duringPump = [this] { timer.ToggleSleepTimer(); };
    timer.OffTimerTimer();
    EXPECT_FALSE(timer.IsRunning());
    EXPECT_TRUE(power.calls.empty());
}

TEST_F(SleepTimerTest, LateTimerMessageAfterTheStopDoesNothing) {
    timer.ToggleSleepTimer();
    timer.ToggleSleepTimer();
    const int pumps = input.pumps;
    timer.OffTimerTimer();
    EXPECT_EQ(model.status[1], "");
    EXPECT_EQ(input.pumps, pumps);
    EXPECT_TRUE(osd.requests.empty());
}

TEST_F(SleepTimerTest, CancelStopsOnlyARunningTimer) {
    model.status = {"Behold TV Card initialize success!", ""};
    timer.CancelSleepTimer();
    EXPECT_EQ(model.status[0], "Behold TV Card initialize success!");
    EXPECT_EQ(input.pumps, 0);

    timer.ToggleSleepTimer();
    timer.CancelSleepTimer();
    EXPECT_FALSE(timer.IsRunning());
    EXPECT_EQ(model.status[0], "Sleep Timer Off");
    EXPECT_EQ(input.pumps, 2);
    EXPECT_TRUE(power.calls.empty());
}

TEST(SleepTimerOsdLine, TellsWhatThePressWillDo) {
    Settings settings;
    EXPECT_EQ(SleepTimerOsdLine(settings, false), "Sleep Timer On - 30 min");
    EXPECT_EQ(SleepTimerOsdLine(settings, true), "Sleep Timer Off");
    settings.sleepTime = 90;
    EXPECT_EQ(SleepTimerOsdLine(settings, false), "Sleep Timer On - 90 min");
}

}  // namespace
}  // namespace quorvel
