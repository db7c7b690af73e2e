#include <gtest/gtest.h>

#include "EngineFixture.h"

namespace quorvel {
namespace {

constexpr std::uint32_t kPlay = 0xA35C;

class MacroRunnerTest : public EngineFixture {
protected:
    Macro Parsed(std::string_view text) {
        ParsedMacro parsed = ParseMacro(text);
        EXPECT_FALSE(parsed.fault);
        return parsed.macro;
    }
    std::vector<std::string> Events() const {
        std::vector<std::string> events;
        for (const InputCall& call : input.Calls()) {
            if (call.kind == InputCall::Kind::Key) {
                events.push_back(std::string(call.flags & 2 ? "up " : "down ") + std::to_string(call.virtualKey));
            }
            if (call.kind == InputCall::Kind::Character && !(call.flags & 2)) events.push_back("char " + std::to_string(call.data));
        }
        return events;
    }
};

TEST_F(MacroRunnerTest, StepsRunUpToAWaitAndTheTimerBringsTheRest) {
    macros.Run(Parsed("A; Wait 700; \"\xE9\"; Mode Mouse"), "Play");
    EXPECT_EQ(Events(), (std::vector<std::string>{"down 65", "up 65"}));
    EXPECT_EQ(macroTimer.IntervalMs(), 700u);
    EXPECT_FALSE(macros.Idle());
    macros.OnTimer();
    EXPECT_EQ(Events(), (std::vector<std::string>{"down 65", "up 65", "char 233"}));
    EXPECT_EQ(selectedModes, std::vector<EmulationMode>{EmulationMode::Mouse});
    EXPECT_FALSE(macroTimer.IsRunning());
    EXPECT_TRUE(macros.Idle());
}

TEST_F(MacroRunnerTest, OneMacroWaitsMoreAreDroppedAndHeldKeysAreReleasedAtTheEndAndOnStop) {
    macros.Run(Parsed("Hold Alt; Tab; Wait 100; Tab"), "Switch");
    macros.Run(Parsed("B"), "Next");
    macros.Run(Parsed("C"), "Other");
    EXPECT_EQ(log.lines, std::vector<std::string>{"The macro of Other was dropped: one macro runs and another waits"});
    macros.OnTimer();
    // Alt goes up at the end, then the waiting macro runs.
    EXPECT_EQ(Events(), (std::vector<std::string>{"down 18", "down 9", "up 9", "down 9", "up 9", "up 18", "down 66",
                                                  "up 66"}));
    EXPECT_FALSE(input.AnyKeyDown());

    input.ClearCalls();
    macros.Run(Parsed("Hold Ctrl+Shift; Wait 5000; F"), "Held");
    macros.Stop();
    EXPECT_EQ(Events(), (std::vector<std::string>{"down 17", "down 16", "up 17", "up 16"}));
    EXPECT_FALSE(macroTimer.IsRunning());
    EXPECT_TRUE(macros.Idle());
}

TEST_F(MacroRunnerTest, AHeldMacroButtonRunsAgainOnlyOnceTheRunBeforeEnded) {
    Define(kPlay, Section::Keys, "0041");
    Define(kPlay, Section::Macros, "C; Wait 600; D");
    receiver.Hold(kPlay, 20);
    Tick(12);
    // The press started the macro; the repeats from hold count 9 found it still running.
    EXPECT_EQ(Events(), (std::vector<std::string>{"down 67", "up 67"}));
    macros.OnTimer();
    Tick(1);
    EXPECT_EQ(Events(), (std::vector<std::string>{"down 67", "up 67", "down 68", "up 68", "down 67", "up 67"}));
    EXPECT_TRUE(lirc.lines.empty()) << "a macro is the button's own action: no line";
}

}  // namespace
}  // namespace quorvel
