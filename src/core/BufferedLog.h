#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "platform/Log.h"

namespace quorvel {

// A log whose file is written on a thread of its own, so that a slow disk never holds up the
// tick. Lines that arrive faster than the disk takes them are dropped beyond a limit, and
// the next line written says how many.
class BufferedLog final : public Log {
public:
    static constexpr std::uint64_t kMaxFileBytes = 1024 * 1024;
    static constexpr std::size_t kMaxPendingLines = 1000;

    explicit BufferedLog(LogFiles& files);
    // Writes what is pending, then ends the writer.
    ~BufferedLog() override;
    BufferedLog(const BufferedLog&) = delete;
    BufferedLog& operator=(const BufferedLog&) = delete;

    void Write(const std::string& line) override;

private:
    void Run();
    void Store(const std::string& text);
    std::string DroppedNote();

    LogFiles& files_;
    std::mutex lock_;
    std::condition_variable wake_;
    std::deque<std::string> pending_;
    std::size_t dropped_ = 0;
    bool stopping_ = false;
    std::thread writer_;
};

}  // namespace quorvel
