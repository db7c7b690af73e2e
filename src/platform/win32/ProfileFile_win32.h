#pragma once

#include "platform/Log.h"
#include "platform/ProfileFile.h"

namespace quorvel {

class Win32ProfileFile final : public ProfileFile {
public:
    explicit Win32ProfileFile(Log& log) : log_(log) {}
    std::string ToAnsi(std::u16string_view text) override;
    std::u16string FromAnsi(std::string_view text) override;
    LetterCase LetterCaseRules() override;
    std::optional<std::string> Read(const std::u16string& path) override;
    std::optional<std::u16string> CreateCopyBeside(const std::u16string& path) override;
    bool Write(const std::u16string& copy, const std::string& bytes) override;
    bool ReplaceWithCopy(const std::u16string& path, const std::u16string& copy) override;
    void RemoveCopy(const std::u16string& copy) override;

private:
    void LogFailure(const std::string& what, const std::u16string& path);

    Log& log_;
};

}  // namespace quorvel
