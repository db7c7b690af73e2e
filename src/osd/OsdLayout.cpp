#include "osd/OsdLayout.h"

#include <algorithm>

namespace quorvel {
namespace {

constexpr char kCr = '\r';
constexpr char kLf = '\n';
constexpr std::uint32_t kWhite = 0x00FFFFFF;
constexpr std::uint32_t kBlack = 0x00000000;

}  // namespace

std::vector<std::string> SplitOsdLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t index = 0; index < text.size(); ++index) {
        if (text[index] != kCr && text[index] != kLf) continue;
        lines.emplace_back(text.substr(start, index - start));
        if (text[index] == kCr && index + 1 < text.size() && text[index + 1] == kLf) ++index;
        start = index + 1;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

int OsdHeightLineCount(std::string_view text) {
    const auto carriageReturns = static_cast<int>(std::count(text.begin(), text.end(), kCr));
    const bool endsInCr = !text.empty() && text.back() == kCr;
    return 1 + carriageReturns - (endsInCr ? 1 : 0);
}

std::size_t ChooseOsdMonitor(std::size_t monitorCount, bool secondDisplay) {
    return monitorCount > 1 && secondDisplay ? 1 : 0;
}

ScreenRect CentreOsdBlock(const ScreenRect& monitor, TextExtent block) {
    return {monitor.left + monitor.width / 2 - block.width / 2, monitor.top + monitor.height / 2 - block.height / 2,
            block.width, block.height};
}

ScreenRect LayoutOsd(std::string_view text, const std::vector<ScreenRect>& monitors, bool secondDisplay,
                     const MeasureLine& measure) {
    const ScreenRect monitor = monitors.empty() ? ScreenRect{} : monitors[ChooseOsdMonitor(monitors.size(), secondDisplay)];
    TextExtent largest;
    for (const std::string& line : SplitOsdLines(text)) {
        const TextExtent extent = measure(line);
        largest.width = std::max(largest.width, extent.width);
        largest.height = std::max(largest.height, extent.height);
    }
    return CentreOsdBlock(monitor, {largest.width, OsdHeightLineCount(text) * largest.height});
}

std::uint32_t OsdColourKey(std::uint32_t textColour) {
    // White keeps the edges of smoothed letters light, as on the usual white window background.
    return (textColour & kWhite) == kWhite ? kBlack : kWhite;
}

}  // namespace quorvel
