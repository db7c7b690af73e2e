#include "core/BufferedLog.h"

#include <utility>

#include "platform/ThreadPriority.h"

namespace quorvel {

BufferedLog::BufferedLog(LogFiles& files) : files_(files), writer_(&BufferedLog::Run, this) {}

BufferedLog::~BufferedLog() {
    {
        std::lock_guard lock(lock_);
        stopping_ = true;
        if (dropped_ > 0) pending_.push_back(DroppedNote());
    }
    wake_.notify_one();
    writer_.join();
}

void BufferedLog::Write(const std::string& line) {
    const std::string text = files_.Timestamp() + " " + line + "\r\n";
    files_.Debug(text);
    {
        std::lock_guard lock(lock_);
        if (pending_.size() >= kMaxPendingLines) {
            ++dropped_;
            return;
        }
        if (dropped_ > 0) pending_.push_back(DroppedNote());
        pending_.push_back(text);
    }
    wake_.notify_one();
}

// Called under the lock.
std::string BufferedLog::DroppedNote() {
    return files_.Timestamp() + " " + std::to_string(std::exchange(dropped_, 0)) +
           " lines were dropped: the disk was too slow\r\n";
}

void BufferedLog::Run() {
    LowerCurrentThread();
    std::unique_lock lock(lock_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
        if (pending_.empty()) return;
        std::deque<std::string> batch;
        batch.swap(pending_);
        lock.unlock();
        for (const std::string& text : batch) Store(text);
        lock.lock();
    }
}

void BufferedLog::Store(const std::string& text) {
    if (files_.Size() + text.size() > kMaxFileBytes) files_.StartNewFile();
    // A log that cannot be written is given up line by line; the program goes on.
    files_.Append(text);
}

}  // namespace quorvel
