#include <gtest/gtest.h>

#include "osd/OsdLayout.h"

namespace quorvel {
namespace {

// Each character 10 pixels wide, every line 20 pixels tall, as a fixed-pitch font would measure.
TextExtent FixedPitch(const std::string& line) { return {10 * static_cast<int>(line.size()), 20}; }

const ScreenRect kFirst{0, 0, 1280, 1024};
const ScreenRect kSecond{1280, -200, 1024, 768};

TEST(OsdLineSplit, EndsLinesAtCrLfOrBoth) {
    struct Case {
        const char* text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"Power", {"Power"}},
        {"Power\rSleep", {"Power", "Sleep"}},
        {"Power\nSleep", {"Power", "Sleep"}},
        {"Power\r\nSleep", {"Power", "Sleep"}},
        {"Power\n\rSleep", {"Power", "", "Sleep"}},
        {"Power\r", {"Power"}},
        {"Power\r\n", {"Power"}},
        {"Power\r\r", {"Power", ""}},
        {"\r", {""}},
        {"\rSleep", {"", "Sleep"}},
        {"A\r\rB", {"A", "", "B"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitOsdLines(c.text), c.lines) << testing::PrintToString(std::string(c.text));
    }
}

TEST(OsdHeightLineCount, CountsCarriageReturnsButAFinalOne) {
    struct Case {
        const char* text;
        int count;
    };
    const Case cases[] = {
        {"", 1},
        {"Power", 1},
        {"Power\rSleep", 2},
        {"Power\rSleep\rWinLIRC", 3},
        {"Power\r", 1},
        {"Power\r\r", 2},
        {"\r", 1},
        {"Power\r\nSleep", 2},
        // Only carriage returns count: a line feed alone adds no height.
        {"Power\nSleep", 1},
        {"Power\r\n", 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OsdHeightLineCount(c.text), c.count) << testing::PrintToString(std::string(c.text));
    }
}

TEST(OsdMonitorChoice, TakesTheSecondOnlyWhenAskedAndPresent) {
    EXPECT_EQ(ChooseOsdMonitor(1, false), 0u);
    EXPECT_EQ(ChooseOsdMonitor(1, true), 0u);
    EXPECT_EQ(ChooseOsdMonitor(2, false), 0u);
    EXPECT_EQ(ChooseOsdMonitor(2, true), 1u);
    EXPECT_EQ(ChooseOsdMonitor(3, true), 1u);
    EXPECT_EQ(ChooseOsdMonitor(0, true), 0u);
}

TEST(OsdBlockCentring, HalvesWithTruncationAndKeepsTheMonitorOffset) {
    struct Case {
        ScreenRect monitor;
        TextExtent block;
        ScreenRect expected;
    };
    const Case cases[] = {
        {kFirst, {100, 40}, {590, 492, 100, 40}},
        {kFirst, {101, 41}, {590, 492, 101, 41}},
        {{0, 0, 1025, 769}, {0, 0}, {512, 384, 0, 0}},
        {kSecond, {100, 40}, {1280 + 512 - 50, -200 + 384 - 20, 100, 40}},
        {{-1024, 0, 1024, 768}, {300, 60}, {-1024 + 512 - 150, 384 - 30, 300, 60}},
        // Wider than the monitor: centred all the same, spilling over both edges.
        {{0, 0, 640, 480}, {1000, 50}, {320 - 500, 240 - 25, 1000, 50}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CentreOsdBlock(c.monitor, c.block), c.expected) << c.expected.left << "," << c.expected.top;
    }
}

TEST(OsdLayout, SizesTheBlockByTheWidestLineAndTheCarriageReturns) {
    struct Case {
        const char* text;
        bool secondDisplay;
        ScreenRect expected;
    };
    const Case cases[] = {
        {"Power", false, {640 - 25, 512 - 10, 50, 20}},
        {"Power\rSleep Timer", false, {640 - 55, 512 - 20, 110, 40}},
        {"Power\rSleep\rWinLIRC", false, {640 - 35, 512 - 30, 70, 60}},
        {"Power\r", false, {640 - 25, 512 - 10, 50, 20}},
        {"", false, {640, 512, 0, 0}},
        {"Power\rSleep", true, {1280 + 512 - 25, -200 + 384 - 20, 50, 40}},
    };
    const std::vector<ScreenRect> monitors{kFirst, kSecond};
    for (const Case& c : cases) {
        EXPECT_EQ(LayoutOsd(c.text, monitors, c.secondDisplay, FixedPitch), c.expected)
            << testing::PrintToString(std::string(c.text));
    }
}

TEST(OsdLayout, UsesTheFirstMonitorForDisplay2WhenThereIsOnlyOne) {
    EXPECT_EQ(LayoutOsd("Power", {kSecond}, true, FixedPitch), LayoutOsd("Power", {kSecond}, false, FixedPitch));
    EXPECT_EQ(LayoutOsd("Power", {kSecond}, true, FixedPitch).left, 1280 + 512 - 25);
}

TEST(OsdLayout, TakesTheTallestLineAsTheLineHeight) {
    const MeasureLine measure = [](const std::string& line) {
        return line == "Tall" ? TextExtent{30, 70} : TextExtent{90, 50};
    };
    EXPECT_EQ(LayoutOsd("Wide\rTall", {kFirst}, false, measure), (ScreenRect{640 - 45, 512 - 70, 90, 140}));
}

TEST(OsdLayout, MeasuresEachLineOnceWithoutItsLineBreak) {
    std::vector<std::string> measured;
    const MeasureLine measure = [&measured](const std::string& line) {
        measured.push_back(line);
        return TextExtent{};
    };
    LayoutOsd("Power\r\nSleep\r", {kFirst}, false, measure);
    EXPECT_EQ(measured, (std::vector<std::string>{"Power", "Sleep"}));
}

TEST(OsdLayout, WithoutMonitorsCentresOnTheOrigin) {
    EXPECT_EQ(LayoutOsd("Power", {}, true, FixedPitch), (ScreenRect{-25, -10, 50, 20}));
}

TEST(OsdColourKey, IsNeverTheTextColour) {
    struct Case {
        std::uint32_t text;
        std::uint32_t key;
    };
    const Case cases[] = {
        {0x00FAFAB4, 0x00FFFFFF},
        {0x00000000, 0x00FFFFFF},
        {0x00FFFFFE, 0x00FFFFFF},
        {0x00FFFFFF, 0x00000000},
        // The top byte is not part of the colour.
        {0x01FFFFFF, 0x00000000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OsdColourKey(c.text), c.key) << std::hex << c.text;
    }
}

}  // namespace
}  // namespace quorvel
