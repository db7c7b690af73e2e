#include <gtest/gtest.h>

#include "engine/PressOsd.h"
#include "fakes/FakeForm.h"
#include "settings/ProgramSettings.h"

namespace quorvel {
namespace {

TEST(ComposePressOsd, AppendsEachPieceThatApplies) {
    struct Case {
        const char* name;
        std::uint8_t action;
        CheckControl mode;
        const char* keyText;
        int mouseIndex;
        std::uint8_t message;
        bool timerRunning;
        const char* expected;
    };
    const Case cases[] = {
        {"Power", 1, CheckControl::WinLIRCRB, "None", 0, 0, false, "Power\rSleep\rWinLIRC"},
        {"", 5, CheckControl::KeysRB, "None", 0, 0, false, "Sleep Timer\rSleep Timer On - 30 min"},
        {"T", 5, CheckControl::KeysRB, "None", 0, 0, true, "T\rSleep Timer\rSleep Timer Off"},
        {"", 0, CheckControl::KeysRB, "Ctrl+A", 0, 0, false, "Ctrl+A"},
        {"", 0, CheckControl::KeysRB, "None", 0, 0, false, ""},
        {"", 0, CheckControl::MouseRB, "Ctrl+A", 1, 0, false, "Move Left"},
        {"Vol", 0, CheckControl::MouseRB, "None", 0, 10, false, "Vol\rVOLUME_UP"},
        {"", 9, CheckControl::WMRB, "None", 0, 0, false, ""},
    };
    for (const Case& c : cases) {
        FakeForm form;
        form.ClickRadio(c.mode);
        form.SetText(TextControl::KeyE, c.keyText);
        form.SetItemIndex(ListControl::MsCB, c.mouseIndex);
        ButtonProperties properties;
        properties.action = c.action;
        properties.messageNumber = c.message;
        EXPECT_EQ(ComposePressOsd(c.name, properties, form, ProgramSettings(), c.timerRunning), c.expected)
            << c.expected;
    }
}

TEST(ComposePressOsd, SleepTimerLineFollowsTheSettings) {
    FakeForm form;
    ProgramSettings settings;
    settings.sleepTime = 45;
    ButtonProperties properties;
    properties.action = 5;
    EXPECT_EQ(ComposePressOsd("", properties, form, settings, false), "Sleep Timer\rSleep Timer On - 45 min");
    settings.sleepOsd = false;
    EXPECT_EQ(ComposePressOsd("", properties, form, settings, false), "Sleep Timer");
}

}  // namespace
}  // namespace quorvel
