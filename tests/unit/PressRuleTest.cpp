#include <gtest/gtest.h>

#include "engine/PressRule.h"

namespace quorvel {
namespace {

TEST(ClassifyPress, NewPressesRepeatsLinesAndRepeatNumbers) {
    struct Row {
        PressFacts facts;
        PressStep step;
    };
    // {active, continues, previous hold count, repeat allowed} -> {hold count, new press, output, line, repeat number}
    const Row rows[] = {
        {{false, false, 0, true}, {0, false, false, false, 0}},
        {{false, false, 12, true}, {0, false, false, false, 0}},
        {{true, false, 0, true}, {0, true, true, true, 0}},
        {{true, false, 30, false}, {0, true, true, true, 0}},
        {{true, true, 0, true}, {1, false, false, false, 0}},
        {{true, true, 6, true}, {7, false, false, false, 0}},
        {{true, true, 7, true}, {8, false, false, false, 1}},
        {{true, true, 8, true}, {9, false, true, false, 1}},
        {{true, true, 9, true}, {10, false, true, true, 2}},
        {{true, true, 10, true}, {11, false, true, false, 2}},
        {{true, true, 18, true}, {19, false, true, false, 6}},
        {{true, true, 9, false}, {10, false, false, false, 2}},
        {{true, true, 514, true}, {515, false, true, false, 254}},
        {{true, true, 515, true}, {516, false, true, true, 255}},
        {{true, true, 99999, true}, {100000, false, true, true, 255}},
    };
    for (const Row& row : rows) {
        const PressStep step = ClassifyPress(row.facts);
        const PressFacts& f = row.facts;
        const std::string label = std::to_string(f.active) + std::to_string(f.continues) + " " +
                                  std::to_string(f.previousHoldCount) + " " + std::to_string(f.repeatAllowed);
        EXPECT_EQ(step.holdCount, row.step.holdCount) << label;
        EXPECT_EQ(step.newPress, row.step.newPress) << label;
        EXPECT_EQ(step.outputDue, row.step.outputDue) << label;
        EXPECT_EQ(step.lineDue, row.step.lineDue) << label;
        EXPECT_EQ(step.repeatNumber, row.step.repeatNumber) << label;
    }
}

}  // namespace
}  // namespace quorvel
