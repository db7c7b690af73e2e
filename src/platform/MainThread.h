#pragma once

#include <functional>

namespace quorvel {

// The one route from other threads into the main thread.
class MainThread {
public:
    virtual ~MainThread() = default;
    // Runs the work on the main thread and returns when it has run.
    virtual void RunSync(const std::function<void()>& work) = 0;
};

}  // namespace quorvel
