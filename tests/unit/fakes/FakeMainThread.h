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

// The main thread as a window gives it: posted work waits, in order, until the test's thread
// pumps; once the window is gone (Close), waiting and later work is dropped without running.
class FakeMainThread final : public MainThread {
public:
    void Post(std::function<void()> work) override {
        std::lock_guard lock(mutex_);
        if (closed_) return;
        queue_.push_back(std::move(work));
        changed_.notify_all();
    }

    // Runs the work waiting now, and what is posted meanwhile; returns how much ran.
    std::size_t Pump() {
        std::size_t ran = 0;
        std::unique_lock lock(mutex_);
        while (!queue_.empty()) {
            const std::function<void()> work = std::move(queue_.front());
            queue_.pop_front();
            lock.unlock();
            work();
            lock.lock();
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
    }

    std::size_t Waiting() {
        std::lock_guard lock(mutex_);
        return queue_.size();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> queue_;
    bool closed_ = false;
};

}  // namespace quorvel
