#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "receivers/HoldTracker.h"

namespace quorvel {
namespace {

constexpr std::uint32_t A = 0xA35C, B = 0xBE0010;

// One step of a scenario at a time in milliseconds: a line from the server, the end of the
// connection, or a tick that expects to see a button (or none).
struct Step {
    enum Kind { Line, End, Tick } kind;
    int at;
    std::optional<std::uint32_t> code;  // the line's, or the one the tick sees
    std::uint32_t repeat = 0;
};
Step LineOf(int at, std::uint32_t code, std::uint32_t repeat) { return {Step::Line, at, code, repeat}; }
Step Ends(int at) { return {Step::End, at, std::nullopt}; }
Step Sees(int at, std::optional<std::uint32_t> code) { return {Step::Tick, at, code}; }

struct Scenario {
    const char* name;
    std::vector<Step> steps;
};

const Scenario kScenarios[] = {
    {"a short press stays held for the hold time, then is released",
     {LineOf(0, A, 0), Sees(50, A), Sees(100, A), Sees(150, A), Sees(200, A), Sees(250, std::nullopt)}},
    {"repeat lines keep the button held",
     {LineOf(0, A, 0), Sees(50, A), LineOf(110, A, 1), Sees(200, A), LineOf(220, A, 2), Sees(300, A), Sees(400, A),
      Sees(450, std::nullopt)}},
    {"two quick presses of one button have a tick without it between them",
     {LineOf(0, A, 0), Sees(10, A), LineOf(30, A, 0), Sees(60, std::nullopt), Sees(110, A), Sees(160, A)}},
    {"two presses between two ticks still show one after the other",
     {LineOf(0, A, 0), LineOf(20, A, 0), Sees(50, A), Sees(100, std::nullopt), Sees(150, A), Sees(200, A),
      Sees(250, std::nullopt)}},
    {"another button follows at once",
     {LineOf(0, A, 0), Sees(50, A), LineOf(60, B, 0), Sees(100, B), LineOf(110, A, 1), Sees(150, A)}},
    {"a press that came and went between ticks shows once",
     {LineOf(0, A, 0), Ends(10), Sees(50, A), Sees(100, std::nullopt)}},
    {"the end of the connection releases a held button at once",
     {LineOf(0, A, 0), LineOf(100, A, 1), Sees(150, A), Ends(160), Sees(200, std::nullopt), Sees(250, std::nullopt)}},
    {"a repeat of a button not held is a press of it",
     {LineOf(0, B, 3), Sees(50, B), LineOf(100, B, 4), Sees(150, B)}},
    {"a repeat after the hold ran out is a new press",
     {LineOf(0, A, 0), Sees(50, A), Sees(250, std::nullopt), LineOf(300, A, 5), Sees(350, A)}},
    {"a repeat of another button than the one held is a press of that one",
     {LineOf(0, A, 0), Sees(50, A), LineOf(60, B, 2), Sees(100, B)}},
};

TEST(HoldTracker, TurnsServerLinesIntoWhatEachTickSees) {
    for (const Scenario& scenario : kScenarios) {
        HoldTracker tracker;
        for (const Step& step : scenario.steps) {
            const HoldTracker::Millis at{step.at};
            switch (step.kind) {
                case Step::Line: tracker.OnEvent({*step.code, step.repeat, "Button", "Remote"}, at); break;
                case Step::End: tracker.EndHold(); break;
                case Step::Tick: {
                    const std::optional<HeldButton> seen = tracker.Sample(at);
                    EXPECT_EQ(seen ? std::optional(seen->extendedCode) : std::nullopt, step.code)
                        << scenario.name << ", tick at " << step.at << " ms";
                }
            }
        }
    }
}

TEST(HoldTracker, KeepsTheLowBitsOfTheCodeAndTheNameOfThePressesFirstLine) {
    HoldTracker tracker;
    tracker.OnEvent({0x123400BE0010, 0, "Vol+", "Hall"}, HoldTracker::Millis(0));
    tracker.OnEvent({0x123400BE0010, 1, "Renamed", "Hall"}, HoldTracker::Millis(100));
    EXPECT_EQ(tracker.Sample(HoldTracker::Millis(120)), (HeldButton{0x00BE0010, "Vol+"}));
}

TEST(HoldTracker, AFloodOfPressesKeepsOnlyTheFirstFew) {
    HoldTracker tracker;
    for (std::uint64_t code = 1; code <= 100; ++code) tracker.OnEvent({code, 0, "", ""}, HoldTracker::Millis(0));
    std::vector<std::uint32_t> seen, expected;
    for (std::uint32_t i = 1; i <= HoldTracker::kMaxWaiting; ++i) {
        seen.push_back(tracker.Sample(HoldTracker::Millis(10))->extendedCode);
        expected.push_back(i);
    }
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(tracker.Sample(HoldTracker::Millis(300)), std::nullopt);
}

}  // namespace
}  // namespace quorvel
