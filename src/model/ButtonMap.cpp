#include "model/ButtonMap.h"

#include "core/Text.h"

namespace quorvel {

const char* SectionName(Section section) {
    switch (section) {
        case Section::Buttons: return "Buttons";
        case Section::Repeat: return "Repeat";
        case Section::Actions: return "Actions";
        case Section::Mouse: return "Mouse";
        case Section::Keys: return "Keys";
        case Section::Applications: return "Applications";
        case Section::Messages: return "Messages";
    }
    return "";
}

const char* SectionFallback(Section section) {
    switch (section) {
        case Section::Buttons: return "0000000000000000";
        case Section::Repeat: return "1";
        case Section::Actions:
        case Section::Mouse:
        case Section::Messages: return "00";
        case Section::Keys: return "0000";
        case Section::Applications: return "";
    }
    return "";
}

std::string MapKey(std::uint32_t extendedCode) { return Hex(extendedCode, 8); }

const std::string* SectionList::Find(std::string_view key) const {
    const auto found = firstIndex_.find(AsciiUpperCase(key));
    return found == firstIndex_.end() ? nullptr : &values_[found->second];
}

void SectionList::Append(std::string key, std::string value) {
    firstIndex_.try_emplace(AsciiUpperCase(key), keys_.size());
    keys_.push_back(std::move(key));
    values_.push_back(std::move(value));
}

void SectionList::Set(std::string_view key, std::string value) {
    const auto found = firstIndex_.find(AsciiUpperCase(key));
    if (found != firstIndex_.end()) {
        values_[found->second] = std::move(value);
    } else {
        Append(std::string(key), std::move(value));
    }
}

}  // namespace quorvel
