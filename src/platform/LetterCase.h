#pragma once

#include <array>
#include <bitset>
#include <string>
#include <string_view>

namespace quorvel {

// How the system folds the letters of the ANSI code page to upper case, as its file names and
// profile functions do: byte by byte, through a table made once, so folding costs no more than
// ASCII folding. A double-byte character stays as it is. Made, it folds ASCII letters only.
class LetterCase {
public:
    LetterCase();

    void SetUpper(char lower, char upper);
    // The byte starts a double-byte character: it and the byte after it are not folded.
    void SetLeadByte(char byte);

    std::string Upper(std::string_view text) const;
    bool Equal(std::string_view a, std::string_view b) const;

private:
    std::array<char, 256> upper_{};
    std::bitset<256> leadBytes_;
};

}  // namespace quorvel
