#pragma once

#include <cstdint>

namespace quorvel {

// WM_POWERBROADCAST: the computer is about to suspend.
constexpr std::uintptr_t kPbtApmSuspend = 0x04;

class SleepTimer;
class Timer;

// WM_POWERBROADCAST: polling stops before a suspend; on resume a running sleep timer is
// cancelled and polling starts. The window then passes the message on to its default handling.
void WMPowerBroadcast(std::uintptr_t event, std::uint32_t osMajorVersion, Timer& mainT, SleepTimer& sleepTimer);

}  // namespace quorvel
