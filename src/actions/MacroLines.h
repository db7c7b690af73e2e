#pragma once

#include <string>
#include <string_view>

namespace quorvel {

class CodePage;

// A macro's text as the Macro dialog edits it: one step a line, in any character.

// Lines (CR LF or LF) back into a macro's text: its steps joined with "; ", blank lines left out.
std::string MacroFromLines(std::string_view lines);
// "Macro: Run vlc.exe ... (3 steps)", "Macro: F5 (1 step)"; empty for no macro.
std::string MacroSummary(std::string_view text);
// A Unicode text as ANSI text, each character the code page lacks as "{U+XXXX}"...
std::string EscapedAnsi(std::u16string_view text, CodePage& codePage);
// ...and back: those escapes as their characters; an escape of a character the code page holds
// stays as it is written, so that the text reads back exactly as it was.
std::u16string UnescapedText(std::string_view text, CodePage& codePage);

}  // namespace quorvel
