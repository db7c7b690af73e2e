#include "settings/ButtonMapFile.h"

#include <optional>
#include <unordered_set>
#include <vector>

#include "actions/Macro.h"
#include "core/Text.h"
#include "model/Model.h"
#include "model/Pace.h"
#include "platform/Paths.h"
#include "platform/Dialogs.h"
#include "platform/Log.h"
#include "platform/ProfileFile.h"
#include "settings/IniDocument.h"

namespace quorvel {
namespace {

constexpr const char* kProgramsSection = "Programs";

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

std::string ValueOr(const IniDocument& file, std::string_view section, std::string_view key,
                    std::string_view fallback) {
    std::optional<std::string> value = file.Value(section, key);
    return value ? std::move(*value) : std::string(fallback);
}

// A key written twice reads as its first entry once: every later one has the first one's value,
// and a save writes only into the first line of the key.
void ReadList(const IniDocument& file, const std::string& name, Section section, SectionList& list) {
    for (std::string& key : file.Keys(name)) {
        if (list.Find(key)) continue;
        std::string value = ValueOr(file, name, key, SectionFallback(section));
        list.Append(std::move(key), std::move(value));
    }
}

void WriteList(IniDocument& file, const std::string& name, const SectionList& list) {
    for (std::size_t i = 0; i < list.Size(); ++i) file.Set(name, list.KeyAt(i), StoredForm(list.ValueAt(i)));
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

// A macro that cannot be read is refused: its button has none, and the file keeps it as it is.
void RefuseUnreadableMacros(SectionList& macros, const std::string& section, Log& log) {
    for (std::size_t i = 0; i < macros.Size();) {
        const std::optional<MacroFault> fault = ParseMacro(macros.ValueAt(i)).fault;
        if (!fault) {
            ++i;
            continue;
        }
        log.Write("Button map: the macro of " + macros.KeyAt(i) + " in [" + section + "] is refused at " +
                  MacroFaultText(*fault));
        macros.Remove(std::string(macros.KeyAt(i)));
    }
}

// Programs listed in "Programs" come first, then those that only have sections, each once.
// Names the file cannot hold and programs beyond the limit are left in the file unread.
void LoadPrograms(const IniDocument& file, Log& log, ButtonMap& map) {
    std::vector<std::string> names = file.Keys(kProgramsSection);
    for (const std::string& section : file.SectionNames()) {
        if (auto program = ProgramOfSection(section)) names.push_back(std::move(*program));
    }
    std::unordered_set<std::string> seen;
    for (const std::string& name : names) {
        if (!seen.insert(map.Letters().Upper(name)).second) continue;
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
        program.mode = ProgramMode(ValueOr(file, kProgramsSection, name, "0"));
        for (Section section : kProgramSections) {
            ReadList(file, ProgramSectionName(section, name), section, program[section]);
        }
        RefuseUnreadableMacros(program[Section::Macros], ProgramSectionName(Section::Macros, name), log);
    }
}

// A pace that cannot be read leaves its button at the settings' pace; the log says so once.
void LogUnreadablePaces(const SectionList& paces, const std::string& section, Log& log) {
    for (std::size_t i = 0; i < paces.Size(); ++i) {
        if (ParsePace(paces.ValueAt(i))) continue;
        log.Write("Button map: pace \"" + paces.ValueAt(i) + "\" of " + paces.KeyAt(i) + " in [" + section +
                  "] cannot be read; the settings' pace applies");
    }
}

void WriteEntries(IniDocument& file, const ButtonMap& map) {
    // Removals go first, so that a program, button or name defined again afterwards is written anew.
    for (const Erasure& erasure : map.Erasures()) {
        if (erasure.key) {
            file.EraseKey(erasure.section, *erasure.key);
        } else {
            file.EraseSection(erasure.section);
        }
    }
    file.Set("RC", "Name", StoredForm(map.RemoteName()));
    for (Section section : kSectionOrder) WriteList(file, SectionName(section), map[section]);
    for (const ProgramMap& program : map.Programs()) {
        file.Set(kProgramsSection, program.name, std::to_string(program.mode));
        for (Section section : kProgramSections) {
            WriteList(file, ProgramSectionName(section, program.name), program[section]);
        }
    }
}

}  // namespace

std::u16string ButtonMapPath(const std::u16string& executablePath) {
    return std::u16string(SplitPath(executablePath).folder) + u"Quorvel.ini";
}

ButtonMap LoadButtonMap(ProfileFile& profile, const std::u16string& path, Log& log) {
    ButtonMap map;
    const std::optional<std::string> bytes = profile.Read(path);
    const IniDocument file(bytes ? *bytes : std::string(), profile);
    if (file.HasSection("RC")) map.SetRemoteName(ValueOr(file, "RC", "Name", kDefaultRemoteName));
    for (Section section : kSectionOrder) ReadList(file, SectionName(section), section, map[section]);
    map.SetLetterCase(profile.LetterCaseRules());
    LoadPrograms(file, log, map);
    LogUnreadablePaces(map[Section::Pace], SectionName(Section::Pace), log);
    RefuseUnreadableMacros(map[Section::Macros], SectionName(Section::Macros), log);
    for (const ProgramMap& program : map.Programs()) {
        LogUnreadablePaces(program[Section::Pace], ProgramSectionName(Section::Pace, program.name), log);
    }
    return map;
}

// The file is read again, so that what was written into it by hand meanwhile is kept too.
bool SaveButtonMap(ProfileFile& profile, Dialogs& dialogs, const std::u16string& path, ButtonMap& map) {
    const std::optional<std::string> before = profile.Read(path);
    const std::optional<std::u16string> copy = before ? profile.CreateCopyBeside(path) : std::nullopt;
    if (copy) {
        IniDocument file(*before, profile);
        WriteEntries(file, map);
        if (profile.Write(*copy, file.Bytes()) && profile.ReplaceWithCopy(path, *copy)) {
            map.ErasuresWritten();
            return true;
        }
        profile.RemoveCopy(*copy);
    }
    dialogs.ShowMessage("Unable to write to " + profile.ToAnsi(path), MessageKind::Error);
    return false;
}

}  // namespace quorvel
