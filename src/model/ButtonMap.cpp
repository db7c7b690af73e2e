#include "model/ButtonMap.h"

#include <unordered_set>
#include <utility>

#include "core/Text.h"
#include "model/ButtonAction.h"

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
        case Section::Pace: return "Pace";
        case Section::Macros: return "Macros";
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
        case Section::Applications:
        case Section::Pace:
        case Section::Macros: return "";
    }
    return "";
}

std::string MapKey(std::uint32_t extendedCode) { return Hex(extendedCode, 8); }

namespace {

constexpr std::string_view kLongSuffix = "-Long";
constexpr std::string_view kDoubleSuffix = "-Double";

bool EndsWithIgnoringCase(std::string_view key, std::string_view suffix) {
    return key.size() > suffix.size() && EqualsIgnoringCase(key.substr(key.size() - suffix.size()), suffix);
}

// A stored decimal number's low 8 bits, as the button's lists read it; 0 when it is none.
std::uint8_t StoredByte(const std::string* stored) {
    const auto number = stored ? ParseDecimal(*stored) : std::nullopt;
    return number ? static_cast<std::uint8_t>(*number) : 0;
}

}  // namespace

std::string GestureKey(std::string_view key, Gesture gesture) {
    switch (gesture) {
        case Gesture::Press: break;
        case Gesture::Long: return std::string(key) + std::string(kLongSuffix);
        case Gesture::Double: return std::string(key) + std::string(kDoubleSuffix);
    }
    return std::string(key);
}

Gesture GestureOfKey(std::string_view key) {
    if (EndsWithIgnoringCase(key, kLongSuffix)) return Gesture::Long;
    if (EndsWithIgnoringCase(key, kDoubleSuffix)) return Gesture::Double;
    return Gesture::Press;
}

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

std::vector<std::string> ProgramMap::DefinedKeys() const {
    std::vector<std::string> keys;
    std::unordered_set<std::string> seen;
    for (Section section : kProgramSections) {
        const SectionList& list = (*this)[section];
        for (std::size_t i = 0; i < list.Size(); ++i) {
            if (seen.insert(AsciiUpperCase(list.KeyAt(i))).second) keys.push_back(list.KeyAt(i));
        }
    }
    return keys;
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

bool ButtonMap::Defines(const ProgramMap* program, std::string_view key) const {
    if (program) return program->Defines(key);
    for (Section section : kProgramSections) {
        if (Lookup(section, key)) return true;
    }
    return false;
}

bool ButtonMap::GivesOutput(const ProgramMap* program, std::string_view key) const {
    const auto lookup = [&](Section section) { return Lookup(program, section, key); };
    const std::string* keys = lookup(Section::Keys);
    const auto keyValue = keys ? ParseHex(*keys) : std::nullopt;
    const std::string* application = lookup(Section::Applications);
    const std::string* macro = lookup(Section::Macros);
    return ActionOf(StoredByte(lookup(Section::Actions))) != ButtonAction::None || (macro && !macro->empty()) ||
           StoredByte(lookup(Section::Mouse)) != 0 || (keyValue && static_cast<std::uint16_t>(*keyValue) != 0) ||
           StoredByte(lookup(Section::Messages)) != 0 || (application && !application->empty());
}

void ButtonMap::RemoveName(std::string_view key) { RemoveEntry(nullptr, Section::Buttons, key); }

void ButtonMap::RemoveEntry(ProgramMap* program, Section section, std::string_view key) {
    SectionList& list = program ? (*program)[section] : (*this)[section];
    if (!list.Remove(key)) return;
    const std::string name = program ? ProgramSectionName(section, program->name) : SectionName(section);
    erasures_.push_back({name, std::string(key)});
}

void ButtonMap::RemoveNameIfUnused(std::string_view gestureKey) {
    if (Defines(nullptr, gestureKey)) return;
    for (const ProgramMap& program : programs_) {
        if (program.Defines(gestureKey)) return;
    }
    RemoveName(gestureKey);
}

void ButtonMap::SetLetterCase(const LetterCase& letterCase) {
    letterCase_ = letterCase;
    programIndex_.clear();
    for (std::size_t i = 0; i < programs_.size(); ++i) {
        programIndex_.try_emplace(letterCase_.Upper(programs_[i].name), i);
    }
}

const ProgramMap* ButtonMap::FindProgram(std::string_view name) const {
    if (programs_.empty()) return nullptr;
    const auto found = programIndex_.find(letterCase_.Upper(name));
    return found == programIndex_.end() ? nullptr : &programs_[found->second];
}

ProgramMap* ButtonMap::FindProgram(std::string_view name) {
    return const_cast<ProgramMap*>(std::as_const(*this).FindProgram(name));
}

ProgramMap& ButtonMap::AddProgram(std::string_view name) {
    if (ProgramMap* known = FindProgram(name)) return *known;
    programIndex_.emplace(letterCase_.Upper(name), programs_.size());
    programs_.push_back(ProgramMap{std::string(name), 0, {}});
    return programs_.back();
}

void ButtonMap::RemoveProgram(std::string_view name) {
    const ProgramMap* program = FindProgram(name);
    if (!program) return;
    erasures_.push_back({"Programs", program->name});
    for (Section section : kProgramSections) erasures_.push_back({ProgramSectionName(section, program->name), {}});
    const std::vector<std::string> keys = program->DefinedKeys();
    programs_.erase(programs_.begin() + (program - programs_.data()));
    SetLetterCase(letterCase_);
    for (const std::string& key : keys) {
        if (GestureOfKey(key) != Gesture::Press) RemoveNameIfUnused(key);
    }
}

void ButtonMap::RemoveProgramButton(std::string_view name, std::string_view key) {
    ProgramMap* program = FindProgram(name);
    if (!program) return;
    for (Section section : kProgramSections) RemoveEntry(program, section, key);
    if (GestureOfKey(key) != Gesture::Press) RemoveNameIfUnused(key);
}

}  // namespace quorvel
