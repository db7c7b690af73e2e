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
// without regard to case, the first of duplicate keys wins, a result that does not fit is
// cut and reported as filling the buffer (capacity - 1 for a value, capacity - 2 for a
// list), writes replace a value in place or append, and a write can be made to fail. A save's
// copy of the file is written apart and takes the file's place when it is replaced.
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

    static FakeProfileFile FromText(const std::string& text) {
        FakeProfileFile file;
        std::istringstream lines(text);
        std::string line;
        while (std::getline(lines, line)) {
            line = Trim(line);
            if (line.empty() || line[0] == ';') continue;
            if (line.front() == '[') {
                const std::size_t close = line.find(']');
                file.sections.push_back({line.substr(1, close == std::string::npos ? std::string::npos : close - 1), {}});
                continue;
            }
            if (file.sections.empty()) continue;
            const std::size_t equals = line.find('=');
            if (equals == std::string::npos) {
                file.sections.back().entries.push_back({line, std::nullopt});
            } else {
                file.sections.back().entries.push_back({Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))});
            }
        }
        return file;
    }

    std::string ToText() const {
        std::string text;
        for (const SectionData& section : sections) {
            text += "[" + section.name + "]\n";
            for (const Entry& entry : section.entries) {
                text += entry.key + (entry.value ? "=" + *entry.value : std::string()) + "\n";
            }
        }
        return text;
    }

    Chunk GetSectionNames(const std::string&, std::size_t capacity) override {
        capacitiesAsked.push_back(capacity);
        std::vector<std::string> names;
        for (const SectionData& section : sections) names.push_back(section.name);
        return List(names, capacity);
    }

    Chunk GetString(const std::string&, const std::string& section, const std::optional<std::string>& key,
                    const std::string& fallback, std::size_t capacity) override {
        capacitiesAsked.push_back(capacity);
        const SectionData* data = FindSection(section);
        if (!key) {
            std::vector<std::string> keys;
            if (data) {
                for (const Entry& entry : data->entries) keys.push_back(entry.key);
            }
            return List(keys, capacity);
        }
        std::string value = fallback;
        if (data) {
            for (const Entry& entry : data->entries) {
                if (Same(entry.key, *key)) {
                    if (entry.value) value = *entry.value;
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
        std::vector<SectionData>& file = path == kCopyPath && copy ? *copy : sections;
        SectionData* data = FindSection(file, section);
        if (!data) {
            file.push_back({section, {}});
            data = &file.back();
        }
        for (Entry& entry : data->entries) {
            if (Same(entry.key, key)) {
                entry.value = value;
                return true;
            }
        }
        data->entries.push_back({key, value});
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
    static std::string Trim(const std::string& text) {
        const std::size_t first = text.find_first_not_of(" \t\r");
        if (first == std::string::npos) return {};
        return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
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
