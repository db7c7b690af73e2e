#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/Timer.h"

namespace quorvel {

class Log;

// A timer of a window that exists (SetTimer/KillTimer); WM_TIMER with the id reaches it.
class Win32WindowTimer final : public Timer {
public:
    Win32WindowTimer(HWND window, UINT_PTR id, Log& log) : window_(window), id_(id), log_(log) {}
    void Start(std::uint32_t intervalMs) override;
    void Stop() override;
    std::uint32_t IntervalMs() const override { return interval_; }

private:
    const HWND window_;
    const UINT_PTR id_;
    Log& log_;
    std::uint32_t interval_ = 0;
};

}  // namespace quorvel
