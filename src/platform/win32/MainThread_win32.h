#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <mutex>

#include "platform/MainThread.h"

namespace quorvel {

// Work posted from other threads waits here; one message to the main window says that some
// waits, and the window runs it all, in order, when the message arrives.
class Win32MainThread final : public MainThread {
public:
    Win32MainThread(HWND window, UINT message) : window_(window), message_(message) {}

    void Post(std::function<void()> work) override;
    // On the window's message.
    void RunPosted();

private:
    const HWND window_;
    const UINT message_;
    std::mutex lock_;
    std::deque<std::function<void()>> posted_;
    bool messagePosted_ = false;
};

}  // namespace quorvel
