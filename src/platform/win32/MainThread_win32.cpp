#include "platform/win32/MainThread_win32.h"

namespace quorvel {

void Win32MainThread::Post(std::function<void()> work) {
    std::lock_guard lock(lock_);
    posted_.push_back(std::move(work));
    // One message at a time, so that the window's queue never fills; a post that failed is
    // tried again with the next work.
    if (!messagePosted_) messagePosted_ = PostMessageA(window_, message_, 0, 0) != 0;
}

void Win32MainThread::RunPosted() {
    std::unique_lock lock(lock_);
    messagePosted_ = false;
    // One at a time: work that runs a modal loop may come back here, and the order holds.
    while (!posted_.empty()) {
        const std::function<void()> work = std::move(posted_.front());
        posted_.pop_front();
        lock.unlock();
        work();
        lock.lock();
    }
}

}  // namespace quorvel
