#pragma once

#include <string>
#include <string_view>

#include "platform/LetterCase.h"

namespace quorvel {

// UTF-16 texts as the wide functions take them, and the system's ANSI code page.
std::wstring Wide(std::u16string_view text);
std::u16string Utf16(std::wstring_view text);
// A character the code page lacks becomes the system's default character.
std::string AnsiFromWide(std::wstring_view text);
std::wstring WideFromAnsi(std::string_view text);
// How the system folds the letters of the ANSI code page.
LetterCase SystemLetterCase();
// A file's path as ANSI text: its short form where the code page cannot hold the long one and
// the file system keeps short names.
std::string AnsiPath(const std::wstring& path);

}  // namespace quorvel
