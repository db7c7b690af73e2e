#include "platform/LetterCase.h"

namespace quorvel {
namespace {

unsigned char Byte(char c) { return static_cast<unsigned char>(c); }

}  // namespace

LetterCase::LetterCase() {
    for (std::size_t i = 0; i < upper_.size(); ++i) {
        const char c = static_cast<char>(i);
        upper_[i] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
}

void LetterCase::SetUpper(char lower, char upper) { upper_[Byte(lower)] = upper; }

void LetterCase::SetLeadByte(char byte) { leadBytes_.set(Byte(byte)); }

std::string LetterCase::Upper(std::string_view text) const {
    std::string upper(text);
    for (std::size_t i = 0; i < upper.size(); ++i) {
        if (leadBytes_.test(Byte(upper[i]))) {
            ++i;
        } else {
            upper[i] = upper_[Byte(upper[i])];
        }
    }
    return upper;
}

bool LetterCase::Equal(std::string_view a, std::string_view b) const {
    return a.size() == b.size() && Upper(a) == Upper(b);
}

}  // namespace quorvel
