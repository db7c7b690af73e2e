#include <gtest/gtest.h>

#include "engine/PressOsd.h"
#include "model/Model.h"

namespace quorvel {
namespace {

TEST(ComposePressOsd, AppendsEachPieceThatApplies) {
    struct Case {
        const char* name;
        std::uint8_t action;
        EmulationMode mode;
        const char* keyText;
        int mouseAction;
        std::uint8_t message;
        bool timerRunning;
        const char* expected;
    };
    using enum EmulationMode;
    const Case cases[] = {
        {"Power", 1, WinLIRC, "None", 0, 0, false, "Power\rSleep\rWinLIRC"},
        {"", 5, Keys, "None", 0, 0, false, "Sleep Timer\rSleep Timer On - 30 min"},
        {"T", 5, Keys, "None", 0, 0, true, "T\rSleep Timer\rSleep Timer Off"},
        {"", 0, Keys, "Ctrl+A", 0, 0, false, "Ctrl+A"},
        {"", 0, Keys, "None", 0, 0, false, ""},
        {"", 0, Mouse, "Ctrl+A", 1, 0, false, "Move Left"},
        {"", 0, Mouse, "None", 200, 0, false, ""},
        {"Vol", 0, Mouse, "None", 0, 10, false, "Vol\rVOLUME_UP"},
        {"", 9, Messages, "None", 0, 0, false, ""},
        {"", 0, None, "Ctrl+A", 1, 0, false, ""},
    };
    for (const Case& c : cases) {
        const Settings settings;
        ButtonProperties properties;
        properties.keyText = c.keyText;
        properties.mouseAction = static_cast<std::uint8_t>(c.mouseAction);
        properties.action = c.action;
        properties.messageNumber = c.message;
        EXPECT_EQ(ComposePressOsd(c.name, properties, settings, c.mode, c.timerRunning), c.expected) << c.expected;
    }
}

TEST(ComposePressOsd, SleepTimerLineFollowsTheSettings) {
    Settings settings;
    settings.sleepTime = 45;
    ButtonProperties properties;
    properties.action = 5;
    EXPECT_EQ(ComposePressOsd("", properties, settings, EmulationMode::Keys, false), "Sleep Timer\rSleep Timer On - 45 min");
    settings.sleepOsd = false;
    EXPECT_EQ(ComposePressOsd("", properties, settings, EmulationMode::Keys, false), "Sleep Timer");
}

}  // namespace
}  // namespace quorvel
