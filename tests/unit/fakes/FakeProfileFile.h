#pragma once

#include <optional>
#include <string>

#include "platform/ProfileFile.h"

namespace quorvel {

// "Quorvel.ini" in memory: its bytes, the copy a save writes, which replaces it, and failures
// on demand. The code page is Latin-1: a character beyond it becomes '?'. Letters fold as
// ASCII letters do, and as `letterCase` is told beyond them.
class FakeProfileFile final : public ProfileFile {
public:
    std::optional<std::string> bytes;  // absent: there is no file
    bool readFails = false;            // as when another program holds the file locked
    bool readOnly = false;             // no copy can be made
    bool writeFails = false;           // as on a full disk
    bool replaceFails = false;         // as when another program holds the file open
    int reads = 0;
    int writes = 0;
    static constexpr const char16_t* kCopyPath = u"C:\\Quorvel\\Quo1.tmp";
    std::optional<std::string> copy;
    LetterCase letterCase;

    static FakeProfileFile FromText(const std::string& text) {
        FakeProfileFile file;
        file.bytes = text;
        return file;
    }
    std::string ToText() const { return bytes.value_or(""); }

    std::string ToAnsi(std::u16string_view text) override {
        std::string ansi;
        for (char16_t c : text) ansi.push_back(c <= 0xFF ? static_cast<char>(c) : '?');
        return ansi;
    }
    std::u16string FromAnsi(std::string_view text) override {
        std::u16string wide;
        for (char c : text) wide.push_back(static_cast<unsigned char>(c));
        return wide;
    }
    LetterCase LetterCaseRules() override { return letterCase; }
    std::optional<std::string> Read(const std::u16string&) override {
        ++reads;
        if (readFails) return std::nullopt;
        return ToText();
    }
    std::optional<std::u16string> CreateCopyBeside(const std::u16string&) override {
        if (readOnly) return std::nullopt;
        copy = std::string();
        return kCopyPath;
    }
    bool Write(const std::u16string& path, const std::string& text) override {
        if (writeFails || path != kCopyPath || !copy) return false;
        ++writes;
        copy = text;
        return true;
    }
    bool ReplaceWithCopy(const std::u16string&, const std::u16string& path) override {
        if (replaceFails || path != kCopyPath || !copy) return false;
        bytes = std::move(copy);
        copy.reset();
        return true;
    }
    void RemoveCopy(const std::u16string&) override { copy.reset(); }
};

}  // namespace quorvel
