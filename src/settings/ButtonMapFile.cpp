#include "settings/ButtonMapFile.h"

#include <functional>
#include <optional>
#include <unordered_set>
#include <vector>

#include "core/Text.h"
#include "model/Model.h"
#include "platform/Dialogs.h"
#include "platform/Log.h"
#include "platform/ProfileFile.h"

namespace quorvel {
namespace {

constexpr std::size_t kListCapacity = 16384;
constexpr std::size_t kValueCapacity = 2048;
constexpr std::size_t kCapacityLimit = std::size_t{1} << 28;
constexpr const char* kProgramsSection = "Programs";

// The profile functions cut a result that does not fit and say so only by filling the buffer
// to its last usable byte (capacity - 1 for a value, capacity - 2 for a list). Such a result
// is read again with a larger buffer, so long values and long key lists are never cut off.
std::string ReadWhole(const std::function<ProfileFile::Chunk(std::size_t)>& read, std::size_t capacity,
                      std::size_t margin) {
    for (;; capacity *= 2) {
        ProfileFile::Chunk chunk = read(capacity);
        if (chunk.copied < capacity - margin || capacity >= kCapacityLimit) {
            chunk.bytes.resize(chunk.copied);
            return std::move(chunk.bytes);
        }
    }
}

std::vector<std::string> SplitZeroSeparated(const std::string& bytes) {
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\0', start);
        if (end == std::string::npos) end = bytes.size();
        if (end > start) items.emplace_back(bytes, start, end - start);
        start = end + 1;
    }
    return items;
}

std::vector<std::string> SectionNames(ProfileFile& profile, const std::string& path) {
    return SplitZeroSeparated(ReadWhole(
        [&](std::size_t capacity) { return profile.GetSectionNames(path, capacity); }, kListCapacity, 2));
}

bool HasSection(const std::vector<std::string>& names, const std::string& section) {
    for (const std::string& name : names) {
        if (EqualsIgnoringCase(name, section)) return true;
    }
    return false;
}

std::vector<std::string> KeyList(ProfileFile& profile, const std::string& path, const std::string& section) {
    return SplitZeroSeparated(ReadWhole(
        [&](std::size_t capacity) { return profile.GetString(path, section, std::nullopt, "", capacity); },
        kListCapacity, 2));
}

std::string ReadValue(ProfileFile& profile, const std::string& path, const std::string& section,
                      const std::string& key, const std::string& fallback) {
    return ReadWhole(
        [&](std::size_t capacity) { return profile.GetString(path, section, key, fallback, capacity); },
        kValueCapacity, 1);
}

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1a'; }

// The profile functions read a value without the blanks around it and without one pair of
// matching quotes around it. A value that reading would change so is written in double quotes,
// which reading takes off again: " Play " and "C:\a b\x.exe" come back as they were saved.
std::string StoredForm(const std::string& value) {
    if (value.empty()) return value;
    const bool padded = IsBlank(value.front()) || IsBlank(value.back());
    const bool quoted =
        value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
    return padded || quoted ? '"' + value + '"' : value;
}

void ReadList(ProfileFile& profile, const std::string& path, const std::string& name, Section section,
              SectionList& list) {
    for (std::string& key : KeyList(profile, path, name)) {
        std::string value = ReadValue(profile, path, name, key, SectionFallback(section));
        list.Append(std::move(key), std::move(value));
    }
}

bool WriteList(ProfileFile& profile, const std::string& path, const std::string& name, const SectionList& list) {
    for (std::size_t i = 0; i < list.Size(); ++i) {
        if (!profile.WriteString(path, name, list.KeyAt(i), StoredForm(list.ValueAt(i)))) return false;
    }
    return true;
}

// The program named by a section of its own ("Keys@vlc.exe"), or nothing for any other section.
std::optional<std::string> ProgramOfSection(const std::string& name) {
    const std::size_t at = name.find('@');
    if (at == std::string::npos) return std::nullopt;
    for (Section section : kProgramSections) {
        if (EqualsIgnoringCase(std::string_view(name).substr(0, at), SectionName(section))) return name.substr(at + 1);
    }
    return std::nullopt;
}

// 0 follows the current mode; so does anything that is not a mode's number.
std::uint8_t ProgramMode(const std::string& stored) {
    const std::uint32_t number = stored.size() == 1 ? static_cast<unsigned char>(stored[0]) - 0x30u : 0;
    return IsModeNumber(number) ? static_cast<std::uint8_t>(number) : 0;
}

// Programs listed in "Programs" come first, then those that only have sections, each once.
// Names the file cannot hold and programs beyond the limit are left in the file unread.
void LoadPrograms(ProfileFile& profile, const std::string& path, const std::vector<std::string>& sectionNames,
                  Log& log, ButtonMap& map) {
    std::vector<std::string> names = KeyList(profile, path, kProgramsSection);
    for (const std::string& section : sectionNames) {
        if (auto program = ProgramOfSection(section)) names.push_back(std::move(*program));
    }
    std::unordered_set<std::string> seen;
    for (const std::string& name : names) {
        if (!seen.insert(AsciiUpperCase(name)).second) continue;
        if (const std::string fault = ProgramNameFault(name); !fault.empty()) {
            log.Write("Button map: program \"" + name + "\" skipped: " + fault);
            continue;
        }
        if (map.Programs().size() >= kMaxPrograms) {
            log.Write("Button map: more than " + std::to_string(kMaxPrograms) + " programs; \"" + name +
                      "\" is not read and stays in the file as it is");
            continue;
        }
        ProgramMap& program = map.AddProgram(name);
        program.mode = ProgramMode(ReadValue(profile, path, kProgramsSection, name, "0"));
        for (Section section : kProgramSections) {
            ReadList(profile, path, ProgramSectionName(section, name), section, program[section]);
        }
    }
}

bool WriteEntries(ProfileFile& profile, const std::string& path, const ButtonMap& map) {
    // Removals go first, so that a program, button or name defined again afterwards is written anew.
    for (const Erasure& erasure : map.Erasures()) {
        if (!profile.Erase(path, erasure.section, erasure.key)) return false;
    }
    if (!profile.WriteString(path, "RC", "Name", StoredForm(map.RemoteName()))) return false;
    for (Section section : kSectionOrder) {
        if (!WriteList(profile, path, SectionName(section), map[section])) return false;
    }
    for (const ProgramMap& program : map.Programs()) {
        if (!profile.WriteString(path, kProgramsSection, program.name, std::to_string(program.mode))) return false;
        for (Section section : kProgramSections) {
            if (!WriteList(profile, path, ProgramSectionName(section, program.name), program[section])) return false;
        }
    }
    return true;
}

}  // namespace

std::string ButtonMapPath(const std::string& executablePath) {
    const std::size_t slash = executablePath.find_last_of("\\/");
    const std::string folder = slash == std::string::npos ? std::string() : executablePath.substr(0, slash + 1);
    return folder + "Quorvel.ini";
}

ButtonMap LoadButtonMap(ProfileFile& profile, const std::string& path, Log& log) {
    ButtonMap map;
    const std::vector<std::string> sectionNames = SectionNames(profile, path);
    if (HasSection(sectionNames, "RC")) map.SetRemoteName(ReadValue(profile, path, "RC", "Name", kDefaultRemoteName));
    for (Section section : kSectionOrder) ReadList(profile, path, SectionName(section), section, map[section]);
    LoadPrograms(profile, path, sectionNames, log, map);
    return map;
}

bool SaveButtonMap(ProfileFile& profile, Dialogs& dialogs, const std::string& path, ButtonMap& map) {
    const std::optional<std::string> copy = profile.CopyBeside(path);
    if (copy && WriteEntries(profile, *copy, map) && profile.ReplaceWithCopy(path, *copy)) {
        map.ErasuresWritten();
        return true;
    }
    if (copy) profile.RemoveCopy(*copy);
    dialogs.ShowMessage("Unable to write to " + path, MessageKind::Error);
    return false;
}

}  // namespace quorvel
