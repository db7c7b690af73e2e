#pragma once

#include <optional>
#include <string>

namespace quorvel {

// The system's ANSI profile-string functions over one INI file.
class ProfileFile {
public:
    virtual ~ProfileFile() = default;
    // GetPrivateProfileSectionNamesA: the section names, each followed by a zero byte.
    // Returns what fits into capacity bytes, with the call's result (the number of bytes copied).
    struct Chunk {
        std::string bytes;
        std::size_t copied = 0;
    };
    virtual Chunk GetSectionNames(const std::string& path, std::size_t capacity) = 0;
    // GetPrivateProfileStringA. An absent key selects the key names of the section.
    virtual Chunk GetString(const std::string& path, const std::string& section,
                            const std::optional<std::string>& key, const std::string& fallback,
                            std::size_t capacity) = 0;
    // WritePrivateProfileStringA; false when the file could not be written.
    virtual bool WriteString(const std::string& path, const std::string& section, const std::string& key,
                             const std::string& value) = 0;
};

}  // namespace quorvel
