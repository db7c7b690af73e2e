#pragma once

#include <cstdint>
#include <vector>

#include "platform/Timer.h"

namespace quorvel {

// Records every start and stop; the test fires the handler itself.
class FakeTimer final : public Timer {
public:
    std::vector<std::uint32_t> history;  // the interval after each change, 0 for a stop

    void Start(std::uint32_t intervalMs) override {
        interval_ = intervalMs;
        history.push_back(intervalMs);
    }
    void Stop() override {
        interval_ = 0;
        history.push_back(0);
    }
    std::uint32_t IntervalMs() const override { return interval_; }

private:
    std::uint32_t interval_ = 0;
};

}  // namespace quorvel
