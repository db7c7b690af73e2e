#include <gtest/gtest.h>

#include "ui/ModeImages.h"

namespace quorvel {
namespace {

TEST(ModeMenuImages, MarkOnlyTheSelectedModesItem) {
    struct Case {
        EmulationMode selected;
        std::array<int, 4> images;  // WinLIRC, Keys, Mouse, Messages
    };
    const Case cases[] = {
        {EmulationMode::WinLIRC, {3, 6, 8, 10}},
        {EmulationMode::Keys, {4, 5, 8, 10}},
        {EmulationMode::Mouse, {4, 6, 7, 10}},
        {EmulationMode::Messages, {4, 6, 8, 9}},
        {EmulationMode::None, {4, 6, 8, 10}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ModeMenuImages(c.selected), c.images) << static_cast<int>(c.selected);
    }
}

}  // namespace
}  // namespace quorvel
