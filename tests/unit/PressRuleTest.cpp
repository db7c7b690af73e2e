#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/PressRule.h"

namespace quorvel {
namespace {

// The gestures both buttons of a run have, in the rule's terms.
struct Gestures {
    GestureFacts press{true, true, {}};
    GestureFacts longPress;
    GestureFacts doublePress;
};

constexpr GestureFacts kRepeating{true, true, {}};
constexpr GestureFacts kOnce{true, false, {}};

struct Run {
    std::string outputs;  // per tick: 'P', 'L' or 'D' when that gesture acts, 'r' when a waiting press does
    std::string lines;    // per tick: 'l' when the WinLIRC line goes out
    std::vector<std::uint32_t> mouseSteps;
    PressProgress last;  // what the last tick left
};

// Runs the rule over ticks written as 'A' or 'B' (a button held) and '.' (none).
Run RunTicks(std::string_view ticks, const Gestures& setup) {
    Run run;
    PressProgress progress;
    char last = 0;
    for (const char c : ticks) {
        PressFacts facts;
        facts.active = c != '.';
        facts.sameAsEnded = facts.active && c == last;
        facts.continues = facts.sameAsEnded && progress.held;
        facts.before = progress;
        facts.press = setup.press;
        facts.longPress = setup.longPress;
        facts.doublePress = setup.doublePress;
        const PressStep step = ClassifyPress(facts);
        progress = step.after;
        if (facts.active) last = c;
        const char acted = step.outputDue ? "PLD"[static_cast<int>(step.gesture)] : '.';
        run.outputs += step.releaseDue ? (step.outputDue ? '+' : 'r') : acted;
        run.lines += step.lineDue ? 'l' : '.';
        if (step.outputDue) run.mouseSteps.push_back(step.mouseStep);
    }
    run.last = progress;
    return run;
}

std::string Held(char button, std::size_t ticks) { return std::string(ticks, button); }

// A row of `ticks` ticks with `mark` on the given ones.
std::string Marks(std::size_t ticks, std::vector<std::size_t> at, char mark) {
    std::string row(ticks, '.');
    for (const std::size_t i : at) row[i] = mark;
    return row;
}

TEST(ClassifyPress, PaceDoubleAndLongPressesTickByTick) {
    const TickPace slow{10, 4, 4};
    const TickPace speedUp{2, 8, 1};
    std::vector<std::size_t> speeding = {0, 2, 10, 18, 26, 30, 34, 38, 42};
    for (std::size_t t = 44; t <= 62; t += 2) speeding.push_back(t);
    for (std::size_t t = 63; t < 70; ++t) speeding.push_back(t);

    struct Row {
        const char* label;
        std::string ticks;
        Gestures gestures;
        std::string outputs;
    };
    const Row rows[] = {
        // The settings' default pace is the classic rule: the press, then every tick from the ninth.
        {"default pace", Held('A', 20), {kRepeating, {}, {}}, "P........PPPPPPPPPPP"},
        {"repeat off", Held('A', 20), {{true, false, {}}, {}, {}}, "P..................."},
        {"slow pace", Held('A', 24), {{true, true, slow}, {}, {}}, Marks(24, {0, 10, 14, 18, 22}, 'P')},
        {"speed-up to every tick", Held('A', 70), {{true, true, speedUp}, {}, {}}, Marks(70, speeding, 'P')},
        {"a new press", "AAB.B", {kRepeating, {}, {}}, "P.P.P"},
        // A long press: a tap acts at its release, a hold only as its long press, which repeats
        // by its own flag and pace, counted from the tick it fired on.
        {"long: tap", "AAA..", {kRepeating, kOnce, {}}, "...r."},
        {"long: tap, then another button", "AAB..", {kRepeating, kOnce, {}}, "..rr."},
        {"long: held", Held('A', 30), {kRepeating, kOnce, {}}, Marks(30, {12}, 'L')},
        {"long: repeating", Held('A', 30), {kRepeating, kRepeating, {}}, Marks(30, {12, 21, 22, 23, 24, 25, 26, 27, 28, 29}, 'L')},
        {"long: slow repeats", Held('A', 30), {kRepeating, {true, true, slow}, {}}, Marks(30, {12, 22, 26}, 'L')},
        // A double press: the second press within the double-press time acts at once; a single
        // press waits that long after its release.
        {"double in time", "A...A.........", {kRepeating, {}, kOnce}, "....D........."},
        {"double at the last tick", "A........A....", {kRepeating, {}, kOnce}, ".........D...."},
        {"double too late", "A.........A.........", {kRepeating, {}, kOnce}, ".........r.........r"},
        {"another button between", "A.B.A.........", {kRepeating, {}, kOnce}, "..r.r........r"},
        {"a third press is a first one", "A..A..A.........", {kRepeating, {}, kOnce}, "...D...........r"},
        {"double held, repeating", "A.." + Held('A', 15), {kRepeating, {}, kRepeating}, Marks(18, {3, 12, 13, 14, 15, 16, 17}, 'D')},
        {"double held, once", "A.." + Held('A', 15), {kRepeating, {}, kOnce}, Marks(18, {3}, 'D')},
        {"double only: a hold repeats", Held('A', 12) + "..........", {kRepeating, {}, kOnce}, Marks(22, {9, 10, 11}, 'P')},
        {"double only, no repeat: held, still a tap", Held('A', 12) + "..........", {{true, false, {}}, {}, kOnce},
         Marks(22, {20}, 'r')},
        {"double and long: hold", Held('A', 14) + "..........", {kRepeating, kOnce, kOnce}, Marks(24, {12}, 'L')},
        {"double and long: two taps", "AA.AA.........", {kRepeating, kOnce, kOnce}, "...D.........."},
        {"double and long: one tap", "AA............", {kRepeating, kOnce, kOnce}, Marks(14, {10}, 'r')},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(RunTicks(row.ticks, row.gestures).outputs, row.outputs) << row.label;
    }
}

TEST(ClassifyPress, LinesFollowThePressWhateverItsPaceAndGestures) {
    // On the press and every second tick from the tenth, while the button may repeat.
    const std::string lines = "l.........l.l.l.l.l.";
    EXPECT_EQ(RunTicks(Held('A', 20), {}).lines, lines);
    EXPECT_EQ(RunTicks(Held('A', 20), {{true, true, {20, 20, 20}}, {}, {}}).lines, lines);
    EXPECT_EQ(RunTicks(Held('A', 20), {kRepeating, kOnce, kOnce}).lines, lines);
    EXPECT_EQ(RunTicks(Held('A', 20), {{true, false, {}}, {}, {}}).lines, Marks(20, {0}, 'l'));
    EXPECT_EQ(RunTicks("A..A", {kRepeating, {}, kOnce}).lines, "l..l");
}

TEST(ClassifyPress, MouseStepsGrowWithTheRepeatsNotTheTicks) {
    std::vector<std::uint32_t> classic = {1};
    for (std::uint32_t step = 9; step <= 20; ++step) classic.push_back(step);
    classic.insert(classic.end(), {20, 20});
    EXPECT_EQ(RunTicks(Held('A', 23), {}).mouseSteps, classic);
    EXPECT_EQ(RunTicks(Held('A', 24), {{true, true, {10, 4, 4}}, {}, {}}).mouseSteps, (std::vector<std::uint32_t>{1, 9, 10, 11, 12}));
}

TEST(ClassifyPress, AQuickSecondPressIsToldEvenWithoutADoublePress) {
    const auto quick = [](std::string_view ticks) { return RunTicks(ticks, {{true, true, {}}, {}, {}}).last.quickSecond; };
    EXPECT_TRUE(quick("AA...AA"));
    EXPECT_TRUE(quick("A........A"));
    EXPECT_FALSE(quick("A.........A"));
    EXPECT_FALSE(quick("A..B"));
    EXPECT_FALSE(quick(Held('A', 13) + "..A")) << "after a long press";
    EXPECT_TRUE(quick(Held('A', 12) + "..A")) << "held short of the long-press time";
    EXPECT_FALSE(quick("A"));
}

}  // namespace
}  // namespace quorvel
