#include "ui/ModeImages.h"

namespace quorvel {
namespace {

constexpr int kFirstModeImage = 3;

}  // namespace

std::array<int, 4> ModeMenuImages(EmulationMode selected) {
    std::array<int, 4> images{};
    for (int i = 0; i < 4; ++i) {
        const bool isSelected = static_cast<int>(selected) == i + 1;
        images[static_cast<std::size_t>(i)] = kFirstModeImage + 2 * i + (isSelected ? 0 : 1);
    }
    return images;
}

}  // namespace quorvel
