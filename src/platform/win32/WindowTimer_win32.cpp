#include "platform/win32/WindowTimer_win32.h"

#include "platform/Log.h"
#include "platform/win32/FileLog_win32.h"

namespace quorvel {

void Win32WindowTimer::Start(std::uint32_t intervalMs) {
    interval_ = intervalMs;
    if (!SetTimer(window_, id_, intervalMs, nullptr)) log_.Write(LastErrorText("SetTimer"));
}

void Win32WindowTimer::Stop() {
    interval_ = 0;
    KillTimer(window_, id_);
}

}  // namespace quorvel
