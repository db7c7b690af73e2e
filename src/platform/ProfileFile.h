#pragma once

#include <optional>
#include <string>

#include "platform/CodePage.h"

namespace quorvel {

// An INI file read and written whole. Paths are UTF-16, so that a folder of any name works;
// what the file holds is bytes, as the system's profile functions leave them.
class ProfileFile : public CodePage {
public:
    // The file's bytes; empty when it does not exist; nothing when it cannot be read.
    virtual std::optional<std::string> Read(const std::u16string& path) = 0;

    // A save is written to a copy beside the file, which takes the file's place only once it
    // was written whole: a failed save never leaves the file cut short or half written.
    // A new empty copy's path; nothing when the file is read-only or no copy can be made.
    virtual std::optional<std::u16string> CreateCopyBeside(const std::u16string& path) = 0;
    virtual bool Write(const std::u16string& copy, const std::string& bytes) = 0;
    // The copy takes the file's place in one step; false, the file unchanged, when it cannot.
    virtual bool ReplaceWithCopy(const std::u16string& path, const std::u16string& copy) = 0;
    virtual void RemoveCopy(const std::u16string& copy) = 0;
};

}  // namespace quorvel
