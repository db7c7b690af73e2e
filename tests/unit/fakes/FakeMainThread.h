#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

#include "platform/MainThread.h"

namespace quorvel {

// The main thread as a window gives it: RunSync from another thread waits until the test's
// thread pumps; once the window is gone (Close), waiting and later callers return without
// their work having run.
class FakeMainThread final : public MainThread {
public:
    void RunSync(const std::function<void()>& work) override {
        std::unique_lock lock(mutex_);
        if (closed_) return;
        Request request{&work};
        queue_.push_back(&request);
        changed_.notify_all();
        changed_.wait(lock, [&] { return request.done || closed_; });
    }

    // Runs every hand-over waiting now, and those that arrive meanwhile; returns how many ran.
    std::size_t Pump() {
        std::size_t ran = 0;
        std::unique_lock lock(mutex_);
        while (!queue_.empty()) {
            Request* request = queue_.front();
            queue_.pop_front();
            lock.unlock();
            (*request->work)();
            lock.lock();
            request->done = true;
            changed_.notify_all();
            ++ran;
        }
        return ran;
    }

    // Pumps until the condition holds; false when it still fails after the limit, which only
    // guards the test against hanging.
    bool PumpUntil(const std::function<bool()>& condition,
                   std::chrono::milliseconds limit = std::chrono::seconds(10)) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        for (;;) {
            Pump();
            if (condition()) return true;
            const auto now = std::chrono::steady_clock::now();
            if (now >= deadline) return false;
            std::unique_lock lock(mutex_);
            changed_.wait_until(lock, std::min(deadline, now + std::chrono::milliseconds(5)),
                                [&] { return !queue_.empty(); });
        }
    }

    void Close() {
        std::lock_guard lock(mutex_);
        closed_ = true;
        queue_.clear();
        changed_.notify_all();
    }

    std::size_t Waiting() {
        std::lock_guard lock(mutex_);
        return queue_.size();
    }

private:
    struct Request {
        const std::function<void()>* work;
        bool done = false;
    };

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Request*> queue_;
    bool closed_ = false;
};

}  // namespace quorvel
