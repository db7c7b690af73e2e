// Any text as "Quorvel.ini": the map read from it is saved into it and read back from the
// saved text, and must come back unchanged, with no entry lost or duplicated, the programs'
// own sections and modes too. Saving the same map again must leave the file as it is, and
// the text written back without a change keeps every byte, UTF-16 or not. Every
// "-Long" or "-Double" key read defines that gesture of the button it names, where it was read,
// every pace read is within its bounds and is stored as it reads, and every macro the map keeps
// can be read (those that cannot are refused when loaded).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "FuzzCheck.h"
#include "actions/Macro.h"
#include "core/Text.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeLog.h"
#include "fakes/FakeProfileFile.h"
#include "model/ButtonMap.h"
#include "model/Model.h"
#include "model/Pace.h"
#include "model/PressDefinition.h"
#include "settings/ButtonMapFile.h"
#include "settings/IniDocument.h"

namespace quorvel {
namespace {

const std::u16string kPath = u"C:\\Quorvel\\Quorvel.ini";

bool SameSection(const SectionList& a, const SectionList& b) {
    if (a.Size() != b.Size()) return false;
    for (std::size_t i = 0; i < a.Size(); ++i) {
        if (a.KeyAt(i) != b.KeyAt(i) || a.ValueAt(i) != b.ValueAt(i)) return false;
    }
    return true;
}

std::string SavedText(const std::string& text, ButtonMap map) {
    FakeProfileFile file = FakeProfileFile::FromText(text);
    FakeDialogs dialogs;
    Require(SaveButtonMap(file, dialogs, kPath, map), "a save into memory succeeds");
    return file.ToText();
}

bool SamePrograms(const ButtonMap& a, const ButtonMap& b) {
    if (a.Programs().size() != b.Programs().size()) return false;
    for (std::size_t i = 0; i < a.Programs().size(); ++i) {
        const ProgramMap& x = a.Programs()[i];
        const ProgramMap& y = b.Programs()[i];
        if (x.name != y.name || x.mode != y.mode) return false;
        for (Section section : kProgramSections) {
            if (!SameSection(x[section], y[section])) return false;
        }
    }
    return true;
}

void RequireGesturesChosen(const ButtonMap& map, const SectionList& section, const std::string& program) {
    const ProgramMap* own = program.empty() ? nullptr : map.FindProgram(program);
    for (std::size_t i = 0; i < section.Size(); ++i) {
        const std::string& key = section.KeyAt(i);
        const Gesture gesture = GestureOfKey(key);
        if (gesture == Gesture::Press) continue;
        const std::size_t suffix = gesture == Gesture::Long ? 5 : 7;
        const PressDefinition chosen =
            ChooseDefinition(map, {program, key.substr(0, key.size() - suffix), EmulationMode::Keys});
        const bool chosenOwn = gesture == Gesture::Long ? chosen.longOwn : chosen.doubleOwn;
        const bool chosenDefined = gesture == Gesture::Long ? chosen.longDefined : chosen.doubleDefined;
        Require(chosenOwn == (own != nullptr), "a program's gesture key makes the gesture its own");
        Require(chosenDefined == map.GivesOutput(own, key), "a gesture counts exactly where it gives an output");
    }
}

void RequireMacrosReadable(const SectionList& macros) {
    for (std::size_t i = 0; i < macros.Size(); ++i) {
        const ParsedMacro parsed = ParseMacro(macros.ValueAt(i));
        Require(!parsed.fault, "a macro the map keeps can be read");
        Require(parsed.macro.steps.size() <= kMaxMacroSteps, "no macro has more steps than the limit");
    }
}

void RequirePacesSound(const SectionList& paces) {
    for (std::size_t i = 0; i < paces.Size(); ++i) {
        const std::optional<Pace> pace = ParsePace(paces.ValueAt(i));
        if (!pace) continue;
        Require(ClampPace(*pace) == *pace, "a pace read is within its bounds");
        Require(ParsePace(PaceText(*pace)) == pace, "a pace reads back as it is stored");
    }
}

}  // namespace
}  // namespace quorvel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvel;
    const std::string text(reinterpret_cast<const char*>(data), size);
    FakeProfileFile original = FakeProfileFile::FromText(text);
    FakeLog log;
    const ButtonMap read = LoadButtonMap(original, kPath, log);

    const std::string saved = SavedText(text, read);
    FakeProfileFile savedFile = FakeProfileFile::FromText(saved);
    const ButtonMap reread = LoadButtonMap(savedFile, kPath, log);
    Require(reread.RemoteName() == read.RemoteName(), "the remote name survives a save");
    for (Section section : kSectionOrder) {
        Require(SameSection(read[section], reread[section]), "every section survives a save entry for entry");
    }
    Require(SamePrograms(read, reread), "every program survives a save with its mode and sections");
    for (const ProgramMap& program : read.Programs()) {
        Require(ProgramNameFault(program.name).empty(), "only names the file can hold are read");
    }
    for (Section section : kSectionOrder) RequireGesturesChosen(read, read[section], {});
    RequirePacesSound(read[Section::Pace]);
    RequireMacrosReadable(read[Section::Macros]);
    for (const ProgramMap& program : read.Programs()) {
        for (Section section : kProgramSections) RequireGesturesChosen(read, program[section], program.name);
        RequirePacesSound(program[Section::Pace]);
        RequireMacrosReadable(program[Section::Macros]);
    }
    Require(read.Programs().size() <= kMaxPrograms, "no more programs are read than the limit");
    Require(SavedText(saved, read) == saved, "saving the same map again changes nothing");
    Require(IniDocument(text, original).Bytes() == text, "a file written back unchanged keeps every byte");
    return 0;
}
