#include "model/ButtonMap.h"

#include <utility>

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

std::string LongPressKey(std::string_view key) { return std::string(key) + "-Long"; }

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

bool SectionList::Remove(std::string_view key) {
    const std::string upper = AsciiUpperCase(key);
    if (!firstIndex_.count(upper)) return false;
    SectionList kept;
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        if (AsciiUpperCase(keys_[i]) != upper) kept.Append(std::move(keys_[i]), std::move(values_[i]));
    }
    *this = std::move(kept);
    return true;
}

bool ProgramMap::Defines(std::string_view key) const {
    for (Section section : kProgramSections) {
        if ((*this)[section].Find(key)) return true;
    }
    return false;
}

std::string ProgramSectionName(Section section, std::string_view program) {
    return std::string(SectionName(section)) + '@' + std::string(program);
}

std::string ProgramNameFault(std::string_view name) {
    if (name.empty()) return "The program name is empty.";
    if (name.size() > kMaxProgramNameLength) return "The program name is longer than 255 characters.";
    if (name.front() == ';') return "The program name cannot begin with ';'.";
    if (TrimBlanks(name).size() != name.size()) return "The program name cannot begin or end with a blank.";
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '=' || c == '[' || c == ']' || byte < 0x20 || byte == 0x7f) {
            return "The program name cannot hold '=', '[', ']' or control characters.";
        }
    }
    return {};
}

bool ButtonMap::Defines(std::string_view key) const {
    for (const SectionList& section : sections_) {
        if (section.Find(key)) return true;
    }
    return false;
}

const ProgramMap* ButtonMap::FindProgram(std::string_view name) const {
    if (programs_.empty()) return nullptr;
    const auto found = programIndex_.find(AsciiUpperCase(name));
    return found == programIndex_.end() ? nullptr : &programs_[found->second];
}

ProgramMap* ButtonMap::FindProgram(std::string_view name) {
    return const_cast<ProgramMap*>(std::as_const(*this).FindProgram(name));
}

ProgramMap& ButtonMap::AddProgram(std::string_view name) {
    if (ProgramMap* known = FindProgram(name)) return *known;
    programIndex_.emplace(AsciiUpperCase(name), programs_.size());
    programs_.push_back(ProgramMap{std::string(name), 0, {}});
    return programs_.back();
}

void ButtonMap::RemoveProgram(std::string_view name) {
    const ProgramMap* program = FindProgram(name);
    if (!program) return;
    erasures_.push_back({"Programs", program->name});
    for (Section section : kProgramSections) erasures_.push_back({ProgramSectionName(section, program->name), {}});
    programs_.erase(programs_.begin() + (program - programs_.data()));
    programIndex_.clear();
    for (std::size_t i = 0; i < programs_.size(); ++i) programIndex_.emplace(AsciiUpperCase(programs_[i].name), i);
}

void ButtonMap::RemoveProgramButton(std::string_view name, std::string_view key) {
    ProgramMap* program = FindProgram(name);
    if (!program) return;
    for (Section section : kProgramSections) {
        if ((*program)[section].Remove(key)) {
            erasures_.push_back({ProgramSectionName(section, program->name), std::string(key)});
        }
    }
}

}  // namespace quorvel
