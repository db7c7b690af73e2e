// Any text as "Quorvel.ini": the map read from it is saved into it and read back from the
// saved text, and must come back unchanged, with no entry lost or duplicated, the programs'
// own sections and modes too. Saving the same map again must leave the file as it is.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeLog.h"
#include "fakes/FakeProfileFile.h"
#include "model/ButtonMap.h"
#include "settings/ButtonMapFile.h"

namespace quorvel {
namespace {

const std::string kPath = "C:\\Quorvel\\Quorvel.ini";

bool SameSection(const SectionList& a, const SectionList& b) {
    if (a.Size() != b.Size()) return false;
    for (std::size_t i = 0; i < a.Size(); ++i) {
        if (a.KeyAt(i) != b.KeyAt(i) || a.ValueAt(i) != b.ValueAt(i)) return false;
    }
    return true;
}

std::string SavedText(const std::string& text, const ButtonMap& map) {
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
    Require(read.Programs().size() <= kMaxPrograms, "no more programs are read than the limit");
    Require(SavedText(saved, read) == saved, "saving the same map again changes nothing");
    return 0;
}
