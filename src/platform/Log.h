#pragma once

#include <cstdint>
#include <string>

namespace quorvel {

// Lines for whoever supports a user: what the program did, and what failed with the system's
// error code and text. Writing never blocks the caller and never fails the program.
class Log {
public:
    virtual ~Log() = default;
    virtual void Write(const std::string& line) = 0;
};

// The place the log goes: the debugger's output and a file that is replaced by a fresh one
// when it grows too large, the full one kept as the older file.
class LogFiles {
public:
    virtual ~LogFiles() = default;
    virtual void Debug(const std::string& line) = 0;
    // The local date and time a line carries, e.g. "2026-12-08 21:07:45.120".
    virtual std::string Timestamp() = 0;
    // The size of the current file; 0 when there is none.
    virtual std::uint64_t Size() = 0;
    virtual bool Append(const std::string& text) = 0;
    // The current file becomes the older one, replacing it; the next append starts a new one.
    virtual void StartNewFile() = 0;
};

}  // namespace quorvel
