#include "actions/PowerBroadcast.h"

#include "actions/Power.h"
#include "actions/SleepTimer.h"
#include "platform/Timer.h"

namespace quorvel {
namespace {

constexpr std::uintptr_t kPbtApmResumeCritical = 0x06;
constexpr std::uintptr_t kPbtApmResumeAutomatic = 0x12;

// Since Vista every resume is announced as automatic; before, a resume after a critical
// suspend came only as its own event.
bool IsResume(std::uintptr_t event, std::uint32_t osMajorVersion) {
    if (event == kPbtApmResumeAutomatic) return true;
    return osMajorVersion < 6 && event == kPbtApmResumeCritical;
}

}  // namespace

void WMPowerBroadcast(std::uintptr_t event, std::uint32_t osMajorVersion, Timer& mainT, SleepTimer& sleepTimer) {
    if (event == kPbtApmSuspend) {
        mainT.Stop();
    } else if (IsResume(event, osMajorVersion)) {
        sleepTimer.CancelSleepTimer();
        mainT.Start(kTickMs);
    }
}

}  // namespace quorvel
