#include <gtest/gtest.h>

#include <cstdint>

#include "platform/TickCount64.h"

namespace quorvel {
namespace {

TEST(TickCount64, CountsOnAcrossEachWrapOfTheTickCounter) {
    struct Step {
        std::uint32_t tick;
        std::uint64_t expected;
    };
    constexpr Step kSteps[] = {
        {0x00000010, 0x0'00000010},
        {0x00000010, 0x0'00000010},  // the same tick twice is no wrap
        {0xFFFFFFF0, 0x0'FFFFFFF0},
        {0x00000005, 0x1'00000005},  // wrapped
        {0x7FFFFFFF, 0x1'7FFFFFFF},
        {0xFFFFFFFF, 0x1'FFFFFFFF},
        {0x00000000, 0x2'00000000},  // wrapped again, onto zero
    };
    std::uint64_t state = 0;
    for (const Step& step : kSteps) {
        state = ExtendTickCount(state, step.tick);
        EXPECT_EQ(state, step.expected) << "tick " << step.tick;
    }
}

}  // namespace
}  // namespace quorvel
