#include "settings/ButtonMapFile.h"

#include <functional>
#include <optional>
#include <vector>

#include "core/Text.h"
#include "platform/Dialogs.h"
#include "platform/ProfileFile.h"

namespace quorvel {
namespace {

constexpr std::size_t kListCapacity = 16384;
constexpr std::size_t kValueCapacity = 2048;
constexpr std::size_t kCapacityLimit = std::size_t{1} << 28;

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

bool HasSection(ProfileFile& profile, const std::string& path, const std::string& section) {
    const std::string names = ReadWhole(
        [&](std::size_t capacity) { return profile.GetSectionNames(path, capacity); }, kListCapacity, 2);
    for (const std::string& name : SplitZeroSeparated(names)) {
        if (EqualsIgnoringCase(name, section)) return true;
    }
    return false;
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

bool WriteEntries(ProfileFile& profile, const std::string& path, const ButtonMap& map) {
    if (!profile.WriteString(path, "RC", "Name", StoredForm(map.RemoteName()))) return false;
    for (Section section : kSectionOrder) {
        const SectionList& list = map[section];
        for (std::size_t i = 0; i < list.Size(); ++i) {
            if (!profile.WriteString(path, SectionName(section), list.KeyAt(i), StoredForm(list.ValueAt(i)))) {
                return false;
            }
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

ButtonMap LoadButtonMap(ProfileFile& profile, const std::string& path) {
    ButtonMap map;
    if (HasSection(profile, path, "RC")) {
        map.SetRemoteName(ReadValue(profile, path, "RC", "Name", "RC"));
    }
    for (Section section : kSectionOrder) {
        const std::string name = SectionName(section);
        const std::string keyList = ReadWhole(
            [&](std::size_t capacity) { return profile.GetString(path, name, std::nullopt, "", capacity); },
            kListCapacity, 2);
        SectionList& list = map[section];
        for (std::string& key : SplitZeroSeparated(keyList)) {
            std::string value = ReadValue(profile, path, name, key, SectionFallback(section));
            list.Append(std::move(key), std::move(value));
        }
    }
    return map;
}

bool SaveButtonMap(ProfileFile& profile, Dialogs& dialogs, const std::string& path, const ButtonMap& map) {
    const std::optional<std::string> copy = profile.CopyBeside(path);
    if (copy && WriteEntries(profile, *copy, map) && profile.ReplaceWithCopy(path, *copy)) return true;
    if (copy) profile.RemoveCopy(*copy);
    dialogs.ShowMessage("Unable to write to " + path, MessageKind::Error);
    return false;
}

}  // namespace quorvel
