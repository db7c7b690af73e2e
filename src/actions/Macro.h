#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// One step of a macro, as its text reads:
//   Ctrl+Shift+Esc       a key combination, pressed and released
//   Hold Alt             a combination pressed and kept down...
//   Release Alt          ...and released
//   "youtube.com"        a text typed as characters ("" is a quote, {U+263A} any character)
//   Wait 500             a wait in ms
//   Mouse Click Left     a mouse action of the "Mouse" list
//   Command Volume Mute  an application command of the "Messages" list
//   Run "C:\Apps\vlc.exe" --fullscreen   a program started with its arguments
//   Sleep, Hibernate, Shutdown, Sleep Timer, Change Mode   the button actions
//   Mode Keys            a mode: WinLIRC, Keys, Mouse or Messages
struct MacroStep {
    enum class Kind : std::uint8_t { Keys, Hold, Release, Type, Wait, Mouse, Command, Run, Action, Mode };
    Kind kind = Kind::Keys;
    std::uint16_t keyCodeValue = 0;  // Keys, Hold, Release
    std::uint32_t number = 0;        // Wait: ms; Mouse, Command, Action: the list's index; Mode: its number
    std::string text;                // Type: the text, its quotes undone; Run: the program's path
    std::string arguments;           // Run
};

struct Macro {
    std::vector<MacroStep> steps;
};

constexpr std::size_t kMaxMacroSteps = 256;
constexpr std::size_t kMaxMacroCharacters = 4096;
constexpr std::uint32_t kMaxMacroWait = 60000;

// Why a macro cannot be read: the step (counted from 1) and what is wrong with it.
struct MacroFault {
    std::size_t step = 0;
    std::string stepText;
    std::string reason;
};
// "step 3 "Wiat 500": unknown step"
std::string MacroFaultText(const MacroFault& fault);

// The texts of a macro's steps: separated by ";" outside quotes, blanks trimmed, empty steps
// skipped.
std::vector<std::string> MacroStepTexts(std::string_view text);

// The character a "{U+XXXX}" at the start of a typed text stands for, and the escape's length;
// nothing when the text starts with no such escape of a character.
struct CharacterEscape {
    char32_t character = 0;
    std::size_t length = 0;
};
std::optional<CharacterEscape> CharacterEscapeAt(std::string_view text);
// The character in UTF-16: one unit, or a surrogate pair.
std::u16string Utf16Of(char32_t character);

// The macro of a text, step names read without regard to case; or the first step at fault.
struct ParsedMacro {
    Macro macro;
    std::optional<MacroFault> fault;
};
ParsedMacro ParseMacro(std::string_view text);

// A typed text's UTF-16 characters: its ANSI runs through fromAnsi, each {U+XXXX} as that character.
std::u16string TypedCharacters(std::string_view text, const std::function<std::u16string(std::string_view)>& fromAnsi);

}  // namespace quorvel
