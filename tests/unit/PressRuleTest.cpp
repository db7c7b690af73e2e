#include <gtest/gtest.h>

#include "engine/PressRule.h"

namespace quorvel {
namespace {

TEST(ClassifyPress, NewPressesRepeatsLinesRepeatNumbersAndLongPresses) {
    struct Row {
        PressFacts facts;
        PressStep step;
    };
    // {active, continues, previous hold count, repeat allowed, long defined, long hold count, long repeat allowed,
    //  short waiting}
    // -> {hold count, new press, output, line, repeat number, first output, output hold count, long held, long press,
    //     short waiting, release due}
    const Row rows[] = {
        // Without a long press: outputs on the press and from hold count 9, lines on even ones from 10.
        {{false, false, 0, true, false, 12}, {0, false, false, false, 0, false, 0}},
        {{false, false, 12, true, false, 12}, {0, false, false, false, 0, false, 0}},
        {{true, false, 0, true, false, 12}, {0, true, true, true, 0, true, 0}},
        {{true, false, 30, false, false, 12}, {0, true, true, true, 0, true, 0}},
        {{true, true, 0, true, false, 12}, {1, false, false, false, 0, false, 1}},
        {{true, true, 6, true, false, 12}, {7, false, false, false, 0, false, 7}},
        {{true, true, 7, true, false, 12}, {8, false, false, false, 1, false, 8}},
        {{true, true, 8, true, false, 12}, {9, false, true, false, 1, false, 9}},
        {{true, true, 9, true, false, 12}, {10, false, true, true, 2, false, 10}},
        {{true, true, 10, true, false, 12}, {11, false, true, false, 2, false, 11}},
        {{true, true, 11, true, false, 12}, {12, false, true, true, 3, false, 12, true}},
        {{true, true, 18, true, false, 12}, {19, false, true, false, 6, false, 19, true}},
        {{true, true, 9, false, false, 12}, {10, false, false, false, 2, false, 10}},
        {{true, true, 514, true, false, 12}, {515, false, true, false, 254, false, 515, true}},
        {{true, true, 515, true, false, 12}, {516, false, true, true, 255, false, 516, true}},
        {{true, true, 99999, true, false, 12}, {100000, false, true, true, 255, false, 100000, true}},
        // With a long press: the press gives only its line and waits.
        {{true, false, 0, true, true, 12}, {0, true, false, true, 0, false, 0, false, false, true}},
        {{true, true, 9, true, true, 12}, {10, false, false, true, 2, false, 0, false, false, true}},
        {{true, true, 10, true, true, 12}, {11, false, false, false, 2, false, 0, false, false, true}},
        // Released before the long-press time, or followed by another button: its own outputs now.
        {{false, false, 5, true, true, 12, false, true}, {0, false, false, false, 0, false, 0, false, false, false, true}},
        {{true, false, 5, true, true, 12, false, true}, {0, true, false, true, 0, false, 0, false, false, true, true}},
        {{true, false, 5, true, false, 12, false, true}, {0, true, true, true, 0, true, 0, false, false, false, true}},
        // Held to the long-press time: the long press fires once, then repeats as a press does when it may.
        {{true, true, 11, true, true, 12, true}, {12, false, true, true, 3, true, 0, true, true}},
        {{true, true, 12, true, true, 12, true}, {13, false, false, false, 3, false, 1, true, true}},
        {{true, true, 20, true, true, 12, true}, {21, false, true, false, 7, false, 9, true, true}},
        {{true, true, 21, true, true, 12, false}, {22, false, false, true, 8, false, 10, true, true}},
        {{true, true, 3, false, true, 4, true}, {4, false, true, false, 0, true, 0, true, true}},
        {{false, false, 40, true, true, 12, true}, {0, false, false, false, 0, false, 0}},
    };
    for (const Row& row : rows) {
        const PressStep step = ClassifyPress(row.facts);
        const PressFacts& f = row.facts;
        const std::string label = std::to_string(f.active) + std::to_string(f.continues) + " " +
                                  std::to_string(f.previousHoldCount) + " " + std::to_string(f.repeatAllowed) +
                                  std::to_string(f.longDefined) + " " + std::to_string(f.longHoldCount) + " " +
                                  std::to_string(f.longRepeatAllowed) + std::to_string(f.shortWaiting);
        const PressStep& e = row.step;
        EXPECT_EQ(step.holdCount, e.holdCount) << label;
        EXPECT_EQ(step.newPress, e.newPress) << label;
        EXPECT_EQ(step.outputDue, e.outputDue) << label;
        EXPECT_EQ(step.lineDue, e.lineDue) << label;
        EXPECT_EQ(step.repeatNumber, e.repeatNumber) << label;
        EXPECT_EQ(step.firstOutput, e.firstOutput) << label;
        EXPECT_EQ(step.outputHoldCount, e.outputHoldCount) << label;
        EXPECT_EQ(step.longHeld, e.longHeld) << label;
        EXPECT_EQ(step.longPress, e.longPress) << label;
        EXPECT_EQ(step.shortWaiting, e.shortWaiting) << label;
        EXPECT_EQ(step.releaseDue, e.releaseDue) << label;
    }
}

}  // namespace
}  // namespace quorvel
