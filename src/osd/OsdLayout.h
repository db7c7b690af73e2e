#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// A rectangle in screen pixels, as a monitor's bounds or the displayed text block.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

struct TextExtent {
    int width = 0;
    int height = 0;
};

// The extent of one line in the display font.
using MeasureLine = std::function<TextExtent(const std::string& line)>;

// The lines that are measured: a CR, an LF or CR LF ends a line; a final line break adds no line.
std::vector<std::string> SplitOsdLines(std::string_view text);

// The number of lines the block is tall: one plus every CR but a final one.
int OsdHeightLineCount(std::string_view text);

// Index into the desktop's monitor list.
std::size_t ChooseOsdMonitor(std::size_t monitorCount, bool secondDisplay);

ScreenRect CentreOsdBlock(const ScreenRect& monitor, TextExtent block);

// Where the text block goes; an empty monitor list stands for a zero-sized screen at the origin.
ScreenRect LayoutOsd(std::string_view text, const std::vector<ScreenRect>& monitors, bool secondDisplay,
                     const MeasureLine& measure);

// The colour that is keyed out around the letters (0x00BBGGRR); never the text colour itself.
std::uint32_t OsdColourKey(std::uint32_t textColour);

}  // namespace quorvel
