#pragma once

#include <cstdint>

namespace quorvel {

// A user-interface timer of the main window; its handler runs on the main thread.
// An interval of 0 means the timer is stopped.
class Timer {
public:
    virtual ~Timer() = default;
    virtual void Start(std::uint32_t intervalMs) = 0;
    virtual void Stop() = 0;
    virtual std::uint32_t IntervalMs() const = 0;
    bool IsRunning() const { return IntervalMs() != 0; }
};

}  // namespace quorvel
