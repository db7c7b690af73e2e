// Any text as "Quorvel.ini": the map read from it is saved into it and read back from the
// saved text, and must come back unchanged, with no entry lost or duplicated. Saving the same
// map again must leave the file as it is.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "fakes/FakeDialogs.h"
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

}  // namespace
}  // namespace quorvel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvel;
    const std::string text(reinterpret_cast<const char*>(data), size);
    FakeProfileFile original = FakeProfileFile::FromText(text);
    const ButtonMap read = LoadButtonMap(original, kPath);

    const std::string saved = SavedText(text, read);
    FakeProfileFile savedFile = FakeProfileFile::FromText(saved);
    const ButtonMap reread = LoadButtonMap(savedFile, kPath);
    Require(reread.RemoteName() == read.RemoteName(), "the remote name survives a save");
    for (Section section : kSectionOrder) {
        Require(SameSection(read[section], reread[section]), "every section survives a save entry for entry");
    }
    Require(SavedText(saved, read) == saved, "saving the same map again changes nothing");
    return 0;
}
