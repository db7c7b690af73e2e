#pragma once

#include <string>
#include <string_view>

#include "platform/LetterCase.h"

namespace quorvel {

// The system's ANSI code page, in which the program's texts are held.
class CodePage {
public:
    virtual ~CodePage() = default;
    // A character the code page lacks becomes the system's default character.
    virtual std::string ToAnsi(std::u16string_view text) = 0;
    virtual std::u16string FromAnsi(std::string_view text) = 0;
    // How the system folds the code page's letters, so that names match as they do in the
    // file system and the INI file.
    virtual LetterCase LetterCaseRules() = 0;
};

}  // namespace quorvel
