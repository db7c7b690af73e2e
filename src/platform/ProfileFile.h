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
    // WritePrivateProfileStringA with no value (the key goes) or no key (the whole section goes).
    virtual bool Erase(const std::string& path, const std::string& section, const std::optional<std::string>& key) = 0;

    // A save is written to a copy beside the file, which takes the file's place only once it
    // was written whole: a failed save never leaves the file cut short or half written.
    // The copy's path (an empty copy when the file does not exist); nothing when the file is
    // read-only, cannot be read or the copy cannot be made.
    virtual std::optional<std::string> CopyBeside(const std::string& path) = 0;
    // The copy takes the file's place in one step; false, the file unchanged, when it cannot.
    virtual bool ReplaceWithCopy(const std::string& path, const std::string& copy) = 0;
    virtual void RemoveCopy(const std::string& copy) = 0;
};

}  // namespace quorvel
