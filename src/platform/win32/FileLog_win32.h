#pragma once

#include <cstdint>
#include <string>

#include "platform/Log.h"

namespace quorvel {

// %LOCALAPPDATA%\Quorvel\Quorvel.log, the older file Quorvel.old.log beside it.
class Win32LogFiles final : public LogFiles {
public:
    Win32LogFiles();

    void Debug(const std::string& line) override;
    std::string Timestamp() override;
    std::uint64_t Size() override;
    bool Append(const std::string& text) override;
    void StartNewFile() override;

private:
    std::wstring path_;
    std::wstring olderPath_;
};

// The system's text for an error code, without its line end; empty when it has none.
std::string SystemErrorText(unsigned long code);
// "<call> failed: error <code>: <the system's text>", for an error code a call returned or,
// without one, for the calling thread's last error.
std::string Win32ErrorText(const std::string& call, unsigned long code);
std::string LastErrorText(const std::string& call);

}  // namespace quorvel
