#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/LetterCase.h"

namespace quorvel {

enum class Section { Buttons, Repeat, Actions, Mouse, Keys, Applications, Messages, Pace, Macros };

// The fixed order of reading, of saving one button and of writing the file. A button's pace is
// and macro are written only where it has them, so files without them keep their sections as they were.
constexpr std::array<Section, 9> kSectionOrder = {Section::Buttons,  Section::Repeat, Section::Actions,
                                                  Section::Mouse,    Section::Keys,   Section::Applications,
                                                  Section::Messages, Section::Pace,   Section::Macros};

const char* SectionName(Section section);
// What a key listed in the file reads as when it yields no value.
const char* SectionFallback(Section section);

// A button's key in every section: its extended code as 8 upper-case hex digits.
std::string MapKey(std::uint32_t extendedCode);
// What a press of a button is: the press itself, a hold past the long-press time, or a second
// press soon after the first. Each is a definition of its own, under its own key.
enum class Gesture : std::uint8_t { Press, Long, Double };
// The gesture's key: "00BE0010", "00BE0010-Long", "00BE0010-Double".
std::string GestureKey(std::string_view key, Gesture gesture);
// The gesture a key names by its suffix, whatever its case.
Gesture GestureOfKey(std::string_view key);

// The remote's name when none is given: every WinLIRC line ends in a remote name.
inline constexpr const char* kDefaultRemoteName = "RC";

// Ordered keys and values of one section. Lookup takes the first key equal to the given one,
// ignoring letter case; an index over the upper-cased keys keeps it constant-time.
class SectionList {
public:
    const std::string* Find(std::string_view key) const;
    void Append(std::string key, std::string value);
    // Replaces the value of the first matching key, or appends the pair.
    void Set(std::string_view key, std::string value);
    // Takes out every entry of the key; false when there was none.
    bool Remove(std::string_view key);

    std::size_t Size() const { return keys_.size(); }
    const std::string& KeyAt(std::size_t i) const { return keys_[i]; }
    const std::string& ValueAt(std::size_t i) const { return values_[i]; }

private:
    std::vector<std::string> keys_;
    std::vector<std::string> values_;
    std::unordered_map<std::string, std::size_t> firstIndex_;
};

// The sections a program may define for itself; button names stay global.
constexpr std::array<Section, 8> kProgramSections = {Section::Repeat,   Section::Actions, Section::Mouse,
                                                     Section::Keys,     Section::Applications,
                                                     Section::Messages, Section::Pace,    Section::Macros};

constexpr std::size_t kMaxProgramNameLength = 255;
constexpr std::size_t kMaxPrograms = 256;

// A program's own definitions, found by its executable's file name ("vlc.exe").
struct ProgramMap {
    std::string name;
    // 0 follows the current mode; 1 to 4 are the modes as the "Mode" setting numbers them.
    std::uint8_t mode = 0;
    // Indexed by Section; the Buttons list stays empty.
    std::array<SectionList, kSectionOrder.size()> sections;

    SectionList& operator[](Section section) { return sections[static_cast<std::size_t>(section)]; }
    const SectionList& operator[](Section section) const { return sections[static_cast<std::size_t>(section)]; }
    // Any of its sections holds the key.
    bool Defines(std::string_view key) const;
    // The buttons (long presses among them) it defines, each once, whatever the case of its key.
    std::vector<std::string> DefinedKeys() const;
};

// The name of a program's own section: "Keys@vlc.exe".
std::string ProgramSectionName(Section section, std::string_view program);

// Why the name cannot name a program in the file; empty when it can: an INI key or section
// name cannot hold '=', '[', ']', control characters, a leading ';' or blanks around it.
std::string ProgramNameFault(std::string_view name);

// An entry or a whole section (no key) that the next save takes out of the file.
struct Erasure {
    std::string section;
    std::optional<std::string> key;
};

class ButtonMap {
public:
    const std::string& RemoteName() const { return remoteName_; }
    // An empty name stands for the default one.
    void SetRemoteName(std::string name) { remoteName_ = name.empty() ? kDefaultRemoteName : std::move(name); }

    SectionList& operator[](Section section) { return sections_[static_cast<std::size_t>(section)]; }
    const SectionList& operator[](Section section) const { return sections_[static_cast<std::size_t>(section)]; }

    const std::string* Lookup(Section section, std::string_view key) const { return (*this)[section].Find(key); }
    // The entry in the program's section when a program is given, else in the global one.
    const std::string* Lookup(const ProgramMap* program, Section section, std::string_view key) const {
        return program ? (*program)[section].Find(key) : Lookup(section, key);
    }
    // The program's sections, or the global ones, hold the key beyond its name.
    bool Defines(const ProgramMap* program, std::string_view key) const;
    // The definition in the program's sections, or the global one, does something when pressed:
    // an action, a mouse action, a key, an application command, a program to start or a macro.
    bool GivesOutput(const ProgramMap* program, std::string_view key) const;
    // The name goes, in the file too at the next save.
    void RemoveName(std::string_view key);
    // The entry goes from the program's section, or the global one, in the file too at the next save.
    void RemoveEntry(ProgramMap* program, Section section, std::string_view key);

    // Programs match without regard to case, as the system folds it.
    const LetterCase& Letters() const { return letterCase_; }
    void SetLetterCase(const LetterCase& letterCase);
    const std::vector<ProgramMap>& Programs() const { return programs_; }
    const ProgramMap* FindProgram(std::string_view name) const;
    ProgramMap* FindProgram(std::string_view name);
    // The program of that name, added without definitions when it was not there.
    ProgramMap& AddProgram(std::string_view name);
    // The program and all its sections go, in the file too at the next save.
    void RemoveProgram(std::string_view name);
    // The program's own definition of the button goes; the global one applies again.
    void RemoveProgramButton(std::string_view name, std::string_view key);
    const std::vector<Erasure>& Erasures() const { return erasures_; }
    // The file no longer holds what was removed.
    void ErasuresWritten() { erasures_.clear(); }

private:
    // A long or double press's name that no section defines any more names nothing.
    void RemoveNameIfUnused(std::string_view gestureKey);

    std::string remoteName_ = kDefaultRemoteName;
    std::vector<ProgramMap> programs_;
    LetterCase letterCase_;
    std::unordered_map<std::string, std::size_t> programIndex_;
    std::vector<Erasure> erasures_;
    std::array<SectionList, kSectionOrder.size()> sections_;
};

}  // namespace quorvel
