#pragma once

#include <functional>

namespace quorvel {

// The one route from other threads into the main thread.
class MainThread {
public:
    virtual ~MainThread() = default;
    // Queues the work to run on the main thread, after all work posted before it; never waits.
    virtual void Post(std::function<void()> work) = 0;
};

}  // namespace quorvel
