#include "actions/Macro.h"

#include <algorithm>
#include <variant>

#include "actions/AppCommand.h"
#include "actions/KeyText.h"
#include "actions/Mouse.h"
#include "core/Text.h"
#include "model/ButtonAction.h"

namespace quorvel {
namespace {

constexpr std::string_view kModeNames[] = {"WinLIRC", "Keys", "Mouse", "Messages"};

// Calls run for each stretch of plain text and escape for each escaped character.
template <typename Run, typename Character>
bool ForEachPiece(std::string_view text, Run run, Character character) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '{' || !EqualsIgnoringCase(text.substr(i, 3), "{U+")) continue;
        const auto escape = CharacterEscapeAt(text.substr(i));
        if (!escape) return false;
        run(text.substr(start, i - start));
        character(escape->character);
        i += escape->length - 1;
        start = i + 1;
    }
    run(text.substr(start));
    return true;
}

// The text between a step's quotes, its doubled quotes undone; nothing when it is not one quoted text.
std::optional<std::string> Unquoted(std::string_view step) {
    if (step.size() < 2 || step.front() != '"' || step.back() != '"') return std::nullopt;
    std::string text;
    for (std::size_t i = 1; i + 1 < step.size(); ++i) {
        if (step[i] == '"') {
            if (step[i + 1] != '"' || i + 2 == step.size()) return std::nullopt;
            ++i;
        }
        text += step[i];
    }
    return text;
}

// A list item's index, "None" left out; "_" and a blank match each other ("Volume Mute" is VOLUME_MUTE).
std::optional<std::uint32_t> IndexOf(const std::vector<std::string>& names, std::string_view name) {
    std::string wanted(name);
    std::replace(wanted.begin(), wanted.end(), '_', ' ');
    for (std::size_t i = 1; i < names.size(); ++i) {
        std::string item = names[i];
        std::replace(item.begin(), item.end(), '_', ' ');
        if (EqualsIgnoringCase(item, wanted)) return static_cast<std::uint32_t>(i);
    }
    return std::nullopt;
}

// The program's path, quoted or up to the first blank, then its arguments.
std::optional<MacroStep> RunStep(std::string_view rest) {
    MacroStep step;
    step.kind = MacroStep::Kind::Run;
    std::size_t end = 0;
    if (!rest.empty() && rest.front() == '"') {
        end = rest.find('"', 1);
        if (end == std::string_view::npos || end == 1) return std::nullopt;
        step.text = std::string(rest.substr(1, end - 1));
        ++end;
    } else {
        end = std::min(rest.find_first_of(kBlanks), rest.size());
        step.text = std::string(rest.substr(0, end));
    }
    if (step.text.empty()) return std::nullopt;
    step.arguments = std::string(TrimBlanks(rest.substr(end)));
    return step;
}

// The step, or why it cannot be read.
std::variant<MacroStep, std::string> ParseStep(std::string_view text) {
    using Kind = MacroStep::Kind;
    if (text.front() == '"') {
        auto typed = Unquoted(text);
        if (!typed) return std::string("unclosed quote");
        if (!ForEachPiece(*typed, [](std::string_view) {}, [](char32_t) {})) return std::string("bad {U+...} character");
        return MacroStep{Kind::Type, 0, 0, std::move(*typed), {}};
    }
    const std::size_t blank = std::min(text.find_first_of(kBlanks), text.size());
    const std::string_view word = text.substr(0, blank);
    const std::string_view rest = TrimBlanks(text.substr(blank));
    if (EqualsIgnoringCase(word, "Wait")) {
        const auto ms = ParseDecimal(rest);
        if (!ms || *ms < 1 || static_cast<std::uint32_t>(*ms) > kMaxMacroWait) return std::string("a wait is 1 to 60000 ms");
        return MacroStep{Kind::Wait, 0, static_cast<std::uint32_t>(*ms), {}, {}};
    }
    if (EqualsIgnoringCase(word, "Hold") || EqualsIgnoringCase(word, "Release")) {
        const auto keys = ParseKeyText(rest);
        if (!keys) return std::string("unknown key");
        return MacroStep{EqualsIgnoringCase(word, "Hold") ? Kind::Hold : Kind::Release, *keys, 0, {}, {}};
    }
    if (EqualsIgnoringCase(word, "Mouse")) {
        const auto action = IndexOf(MouseActionNames(), rest);
        if (!action) return std::string("unknown mouse action");
        return MacroStep{Kind::Mouse, 0, *action, {}, {}};
    }
    if (EqualsIgnoringCase(word, "Command")) {
        const auto command = IndexOf(AppCommandNames(), rest);
        if (!command) return std::string("unknown application command");
        return MacroStep{Kind::Command, 0, *command, {}, {}};
    }
    if (EqualsIgnoringCase(word, "Run")) {
        auto run = RunStep(rest);
        if (!run) return std::string("no program to run");
        return std::move(*run);
    }
    if (EqualsIgnoringCase(word, "Mode")) {
        for (std::size_t i = 0; i < std::size(kModeNames); ++i) {
            if (EqualsIgnoringCase(rest, kModeNames[i])) return MacroStep{Kind::Mode, 0, static_cast<std::uint32_t>(i + 1), {}, {}};
        }
        return std::string("unknown mode");
    }
    if (const auto action = IndexOf(ActionNames(), text)) return MacroStep{Kind::Action, 0, *action, {}, {}};
    if (const auto keys = ParseKeyText(text)) return MacroStep{Kind::Keys, *keys, 0, {}, {}};
    return std::string("unknown step");
}

// The characters a typed text stands for, an escape counting as one.
std::size_t CharacterCount(std::string_view text) {
    std::size_t count = 0;
    ForEachPiece(text, [&](std::string_view run) { count += run.size(); }, [&](char32_t) { ++count; });
    return count;
}

}  // namespace

std::string MacroFaultText(const MacroFault& fault) {
    return "step " + std::to_string(fault.step) + " \"" + fault.stepText + "\": " + fault.reason;
}

std::vector<std::string> MacroStepTexts(std::string_view text) {
    std::vector<std::string> steps;
    while (!text.empty()) {
        // The step ends at the first ";" outside quotes.
        std::size_t end = 0;
        bool quoted = false;
        while (end < text.size() && (quoted || text[end] != ';')) quoted ^= text[end++] == '"';
        const std::string_view step = TrimBlanks(text.substr(0, end));
        if (!step.empty()) steps.emplace_back(step);
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return steps;
}

ParsedMacro ParseMacro(std::string_view text) {
    ParsedMacro parsed;
    std::size_t characters = 0;
    std::uint32_t waits = 0;
    std::size_t number = 0;
    for (const std::string& stepText : MacroStepTexts(text)) {
        ++number;
        const auto fail = [&](std::string reason) {
            parsed.fault = MacroFault{number, std::string(stepText), std::move(reason)};
            return std::move(parsed);
        };
        if (number > kMaxMacroSteps) return fail("more than 256 steps");
        auto step = ParseStep(stepText);
        if (auto* reason = std::get_if<std::string>(&step)) return fail(std::move(*reason));
        MacroStep& made = std::get<MacroStep>(step);
        if (made.kind == MacroStep::Kind::Type) characters += CharacterCount(made.text);
        if (made.kind == MacroStep::Kind::Wait) waits += made.number;
        if (characters > kMaxMacroCharacters) return fail("more than 4096 characters of text");
        if (waits > kMaxMacroWait) return fail("more than 60000 ms of waits");
        parsed.macro.steps.push_back(std::move(made));
    }
    return parsed;
}

std::u16string TypedCharacters(std::string_view text, const std::function<std::u16string(std::string_view)>& fromAnsi) {
    std::u16string characters;
    ForEachPiece(
        text, [&](std::string_view run) { characters += fromAnsi(run); },
        [&](char32_t c) { characters += Utf16Of(c); });
    return characters;
}

std::optional<CharacterEscape> CharacterEscapeAt(std::string_view text) {
    if (text.size() < 5 || !EqualsIgnoringCase(text.substr(0, 3), "{U+")) return std::nullopt;
    const std::size_t close = text.find('}');
    if (close == std::string_view::npos || close < 4 || close > 9) return std::nullopt;
    const auto value = ParseHex(text.substr(3, close - 3));
    if (!value || *value > 0x10FFFF || (*value >= 0xD800 && *value <= 0xDFFF) || *value == 0) return std::nullopt;
    return CharacterEscape{static_cast<char32_t>(*value), close + 1};
}

std::u16string Utf16Of(char32_t character) {
    if (character < 0x10000) return std::u16string(1, static_cast<char16_t>(character));
    return {static_cast<char16_t>(0xD800 + ((character - 0x10000) >> 10)),
            static_cast<char16_t>(0xDC00 + ((character - 0x10000) & 0x3FF))};
}

}  // namespace quorvel
