#include <gtest/gtest.h>

#include <string>

#include "actions/KeyCodeValue.h"
#include "actions/Macro.h"

namespace quorvel {
namespace {

using Kind = MacroStep::Kind;

std::string Describe(const MacroStep& step) {
    return std::to_string(static_cast<int>(step.kind)) + ":" + std::to_string(step.keyCodeValue) + ":" +
           std::to_string(step.number) + ":" + step.text + ":" + step.arguments;
}

TEST(ParseMacro, ReadsEveryKindOfStep) {
    const std::pair<const char*, MacroStep> rows[] = {
        {"Ctrl+Shift+Esc", {Kind::Keys, kKeyCodeCtrl | kKeyCodeShift | 0x1B, 0, {}, {}}},
        {"f5", {Kind::Keys, 0x74, 0, {}, {}}},
        {"Ctrl+Num +", {Kind::Keys, kKeyCodeCtrl | 0x6B, 0, {}, {}}},
        {"win+e", {Kind::Keys, kKeyCodeWin | 'E', 0, {}, {}}},
        {"Hold Alt", {Kind::Hold, kKeyCodeAlt, 0, {}, {}}},
        {"RELEASE alt", {Kind::Release, kKeyCodeAlt, 0, {}, {}}},
        {"\"youtube.com\"", {Kind::Type, 0, 0, "youtube.com", {}}},
        {"\"say \"\"hi\"\"; {U+263A}\"", {Kind::Type, 0, 0, "say \"hi\"; {U+263A}", {}}},
        {"Wait 500", {Kind::Wait, 0, 500, {}, {}}},
        {"Mouse Click Left", {Kind::Mouse, 0, 5, {}, {}}},
        {"Command volume mute", {Kind::Command, 0, 8, {}, {}}},
        {"Run \"C:\\Program Files\\vlc.exe\" --fullscreen  x", {Kind::Run, 0, 0, "C:\\Program Files\\vlc.exe", "--fullscreen  x"}},
        {"Run notepad.exe", {Kind::Run, 0, 0, "notepad.exe", {}}},
        {"Sleep Timer", {Kind::Action, 0, 5, {}, {}}},
        {"hibernate", {Kind::Action, 0, 2, {}, {}}},
        {"Mode Mouse", {Kind::Mode, 0, 3, {}, {}}},
    };
    for (const auto& [text, expected] : rows) {
        const ParsedMacro parsed = ParseMacro(text);
        ASSERT_FALSE(parsed.fault) << text << ": " << MacroFaultText(*parsed.fault);
        ASSERT_EQ(parsed.macro.steps.size(), 1u) << text;
        EXPECT_EQ(Describe(parsed.macro.steps[0]), Describe(expected)) << text;
    }
    const ParsedMacro sequence = ParseMacro(" Run vlc.exe ; Wait 2000;; F ;\"a;b\"; ");
    ASSERT_FALSE(sequence.fault);
    EXPECT_EQ(sequence.macro.steps.size(), 4u);
    EXPECT_EQ(sequence.macro.steps[3].text, "a;b");
}

TEST(ParseMacro, RefusesWithTheStepAndTheReason) {
    const std::string many(257 * 2, ';');
    std::string steps;
    for (int i = 0; i < 257; ++i) steps += "F5;";
    const std::string longText = "\"" + std::string(4097, 'x') + "\"";
    const std::pair<std::string, std::string> rows[] = {
        {longText, "step 1 \"" + longText + "\": more than 4096 characters of text"},
        {"F5; Wiat 500", "step 2 \"Wiat 500\": unknown step"},
        {"Wait 0", "step 1 \"Wait 0\": a wait is 1 to 60000 ms"},
        {"Wait 60001", "step 1 \"Wait 60001\": a wait is 1 to 60000 ms"},
        {"Wait 30000; Wait 30001", "step 2 \"Wait 30001\": more than 60000 ms of waits"},
        {"\"open; F5", "step 1 \"\"open; F5\": unclosed quote"},
        {"\"a\"b\"", "step 1 \"\"a\"b\"\": unclosed quote"},
        {"\"{U+D800}\"", "step 1 \"\"{U+D800}\"\": bad {U+...} character"},
        {"Hold Ctrl+Nothing", "step 1 \"Hold Ctrl+Nothing\": unknown key"},
        {"Mouse Fly", "step 1 \"Mouse Fly\": unknown mouse action"},
        {"Command None", "step 1 \"Command None\": unknown application command"},
        {"Run \"\"", "step 1 \"Run \"\"\": no program to run"},
        {"Mode Fast", "step 1 \"Mode Fast\": unknown mode"},
        {steps, "step 257 \"F5\": more than 256 steps"},
    };
    for (const auto& [text, expected] : rows) {
        const ParsedMacro parsed = ParseMacro(text);
        ASSERT_TRUE(parsed.fault) << text;
        EXPECT_EQ(MacroFaultText(*parsed.fault), expected);
    }
    EXPECT_EQ(ParseMacro("\"" + std::string(4096, 'x') + "\"; " + many).fault, std::nullopt);
}

TEST(TypedCharacters, ConvertsTheTextAndItsEscapes) {
    const auto latin1 = [](std::string_view text) {
        std::u16string wide;
        for (const char c : text) wide += static_cast<char16_t>(static_cast<unsigned char>(c));
        return wide;
    };
    EXPECT_EQ(TypedCharacters("caf\xE9 {U+41F}{u+1F600}!", latin1), u"caf\u00E9 \u041F\U0001F600!");
}

}  // namespace
}  // namespace quorvel
