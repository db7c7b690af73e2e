#pragma once

#include <algorithm>
#include <cstring>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/ProfileFile.h"

namespace quorvel {

// An INI file in memory, read and written with the profile functions' rules: names match
// without regard to case, the first of duplicate sections and keys wins, a value loses the
// blanks around it and then one pair of matching quotes around it, comment lines (';') and
// lines before the first section are kept but never listed, a result that does not fit is
// cut and reported as filling the buffer (capacity - 1 for a value, capacity - 2 for a
// list), writes drop the value's leading blanks and replace it in place or append, and a
// write can be made to fail. A save's copy of the file is written apart and takes the file's
// place when it is replaced.
class FakeProfileFile final : public ProfileFile {
public:
    struct Entry {
        std::string key;
        std::optional<std::string> value;  // absent for a line without '='
    };
    struct SectionData {
        std::string name;
        std::vector<Entry> entries;
    };

    std::vector<SectionData> sections;
    bool exists = true;
    int writesBeforeFailure = -1;  // -1: never fails, as on a full disk
    int writes = 0;
    bool readOnly = false;      // no copy can be made
    bool replaceFails = false;  // as when another program holds the file open
    static constexpr const char* kCopyPath = "C:\\copy.tmp";
    std::optional<std::vector<SectionData>> copy;
    std::vector<std::size_t> capacitiesAsked;

    // Lines end at '\n'; '[' starts a section header only when a ']' follows, and the name
    // runs to the last ']'. Key lines before the first header belong to a nameless section,
    // which is written without a header.
    static FakeProfileFile FromText(const std::string& text) {
        FakeProfileFile file;
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            const std::string line = Trim(text.substr(start, end - start));
            start = end + 1;
            if (line.empty()) continue;
            const std::size_t close = line.rfind(']');
            if (line.front() == '[' && close != std::string::npos) {
                file.sections.push_back({Field(line.substr(1, close - 1)), {}});
                continue;
            }
            const std::size_t equals = line.find('=');
            if (equals == std::string::npos && Field(line).empty()) continue;
            if (file.sections.empty()) file.sections.push_back({"", {}});
            if (equals == std::string::npos) {
                file.sections.back().entries.push_back({Field(line), std::nullopt});
            } else {
                file.sections.back().entries.push_back({Field(line.substr(0, equals)), Field(line.substr(equals + 1))});
            }
        }
        return file;
    }

    std::string ToText() const {
        std::string text;
        for (const SectionData& section : sections) {
            const bool headless = section.name.empty() && &section == &sections.front() && !section.entries.empty();
            if (!headless) text += "[" + section.name + "]\n";
            for (const Entry& entry : section.entries) {
                text += entry.key + (entry.value ? "=" + *entry.value : std::string()) + "\n";
            }
        }
        return text;
    }

    Chunk GetSectionNames(const std::string&, std::size_t capacity) override {
        capacitiesAsked.push_back(capacity);
        std::vector<std::string> names;
        for (const SectionData& section : sections) {
            if (!section.name.empty()) names.push_back(section.name);
        }
        return List(names, capacity);
    }

    Chunk GetString(const std::string&, const std::string& section, const std::optional<std::string>& key,
                    const std::string& fallback, std::size_t capacity) override {
        capacitiesAsked.push_back(capacity);
        const SectionData* data = FindSection(section);
        if (!key) {
            std::vector<std::string> keys;
            if (data) {
                for (const Entry& entry : data->entries) {
                    if (!entry.key.empty() && entry.key.front() != ';') keys.push_back(entry.key);
                }
            }
            return List(keys, capacity);
        }
        std::string value = fallback;
        if (data) {
            for (const Entry& entry : data->entries) {
                if (Same(entry.key, *key)) {
                    if (entry.value) value = WithoutQuotes(*entry.value);
                    break;
                }
            }
        }
        if (value.size() > capacity - 1) value.resize(capacity - 1);
        return {value, value.size()};
    }

    bool WriteString(const std::string& path, const std::string& section, const std::string& key,
                     const std::string& value) override {
        if (writesBeforeFailure >= 0 && writes >= writesBeforeFailure) return false;
        ++writes;
        const std::string stored = value.substr(std::min(value.find_first_not_of(kBlanks), value.size()));
        std::vector<SectionData>& file = path == kCopyPath && copy ? *copy : sections;
        SectionData* data = FindSection(file, section);
        if (!data) {
            file.push_back({section, {}});
            data = &file.back();
        }
        for (Entry& entry : data->entries) {
            if (Same(entry.key, key)) {
                entry.value = stored;
                return true;
            }
        }
        data->entries.push_back({key, stored});
        return true;
    }

    bool Erase(const std::string& path, const std::string& section, const std::optional<std::string>& key) override {
        if (writesBeforeFailure >= 0 && writes >= writesBeforeFailure) return false;
        ++writes;
        std::vector<SectionData>& file = path == kCopyPath && copy ? *copy : sections;
        std::erase_if(file, [&](const SectionData& s) { return !key && Same(s.name, section); });
        if (SectionData* data = key ? FindSection(file, section) : nullptr) {
            std::erase_if(data->entries, [&](const Entry& e) { return Same(e.key, *key); });
        }
        return true;
    }

    std::optional<std::string> CopyBeside(const std::string&) override {
        if (readOnly) return std::nullopt;
        copy = exists ? sections : std::vector<SectionData>{};
        return kCopyPath;
    }
    bool ReplaceWithCopy(const std::string&, const std::string& path) override {
        if (replaceFails || path != kCopyPath || !copy) return false;
        sections = std::move(*copy);
        copy.reset();
        exists = true;
        return true;
    }
    void RemoveCopy(const std::string&) override { copy.reset(); }

private:
    // The C blanks and Ctrl+Z, which old editors left at the end of a file.
    static constexpr const char* kBlanks = " \t\n\v\f\r\x1a";
    static std::string Trim(const std::string& text) {
        const std::size_t first = text.find_first_not_of(kBlanks);
        if (first == std::string::npos) return {};
        return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
    }
    // The functions take a name or value as a C string: a zero byte ends it.
    static std::string Field(const std::string& text) { return Trim(text.substr(0, text.find('\0'))); }
    static std::string WithoutQuotes(const std::string& value) {
        const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                            value.back() == value.front();
        return quoted ? value.substr(1, value.size() - 2) : value;
    }
    static bool Same(const std::string& a, const std::string& b) {
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
                   return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
               });
    }
    SectionData* FindSection(const std::string& name) { return FindSection(sections, name); }
    static SectionData* FindSection(std::vector<SectionData>& file, const std::string& name) {
        for (SectionData& section : file) {
            if (Same(section.name, name)) return &section;
        }
        return nullptr;
    }
    // Names each followed by a zero byte; a list that does not fit is cut and ends in two zeros.
    static Chunk List(const std::vector<std::string>& names, std::size_t capacity) {
        std::string bytes;
        for (const std::string& name : names) bytes += name + '\0';
        if (bytes.size() + 1 <= capacity) return {bytes, bytes.size()};
        bytes.resize(capacity - 2);
        bytes += '\0';
        return {bytes, capacity - 2};
    }
};

}  // namespace quorvel
