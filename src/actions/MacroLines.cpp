#include "actions/MacroLines.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "actions/Macro.h"
#include "core/Text.h"
#include "platform/CodePage.h"

namespace quorvel {
namespace {

constexpr std::size_t kSummaryStepLength = 32;

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

char32_t CodePointOf(std::u16string_view character) {
    if (character.size() == 1) return character[0];
    return 0x10000 + ((static_cast<char32_t>(character[0]) - 0xD800) << 10) + (character[1] - 0xDC00);
}

bool AnsiHolds(std::u16string_view character, CodePage& codePage) {
    return codePage.FromAnsi(codePage.ToAnsi(character)) == character;
}

}  // namespace

std::string MacroFromLines(std::string_view lines) {
    std::string text;
    while (!lines.empty()) {
        const std::size_t end = std::min(lines.find('\n'), lines.size());
        std::string_view line = TrimBlanks(lines.substr(0, end));
        if (!line.empty() && line.back() == '\r') line = TrimBlanks(line.substr(0, line.size() - 1));
        if (!line.empty()) text += (text.empty() ? "" : "; ") + std::string(line);
        lines.remove_prefix(std::min(end + 1, lines.size()));
    }
    return text;
}

std::string MacroSummary(std::string_view text) {
    const std::vector<std::string> steps = MacroStepTexts(text);
    if (steps.empty()) return {};
    std::string first = steps.front();
    if (first.size() > kSummaryStepLength) first = first.substr(0, kSummaryStepLength - 3) + "...";
    if (steps.size() == 1) return "Macro: " + first + " (1 step)";
    return "Macro: " + first + " ... (" + std::to_string(steps.size()) + " steps)";
}

std::string EscapedAnsi(std::u16string_view text, CodePage& codePage) {
    std::string ansi;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]) ? 2 : 1;
        const std::u16string_view character = text.substr(i, length);
        i += length;
        if (AnsiHolds(character, codePage)) {
            ansi += codePage.ToAnsi(character);
            continue;
        }
        char escape[16];
        std::snprintf(escape, sizeof escape, "{U+%04X}", static_cast<unsigned>(CodePointOf(character)));
        ansi += escape;
    }
    return ansi;
}

std::u16string UnescapedText(std::string_view text, CodePage& codePage) {
    std::u16string wide;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto escape = text[i] == '{' ? CharacterEscapeAt(text.substr(i)) : std::nullopt;
        if (!escape) continue;
        const std::u16string character = Utf16Of(escape->character);
        if (AnsiHolds(character, codePage)) continue;
        wide += codePage.FromAnsi(text.substr(start, i - start)) + character;
        i += escape->length - 1;
        start = i + 1;
    }
    return wide + codePage.FromAnsi(text.substr(start));
}

}  // namespace quorvel
