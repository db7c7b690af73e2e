#include "receivers/VendorApps.h"

#include "platform/WindowSystem.h"

namespace quorvel {
namespace {

constexpr std::uint32_t kWmClose = 0x0010;
constexpr std::uint32_t kComproDtvButtonMessage = 0x0400 + 100;

}  // namespace

bool BeholdTvHasPriority(WindowSystem& windows, bool priorityOption) {
    if (!priorityOption) return false;
    const WindowHandle window = windows.FindWindowByName("TMain", "BeholdTV");
    return window != kNoWindow && windows.IsWindow(window) && windows.IsWindowVisible(window);
}

void CloseComproRemoteManager(WindowSystem& windows) {
    const WindowHandle window = windows.FindWindowByName("Class of Compro Management", "Compro Management");
    if (window != kNoWindow) windows.PostWindowMessage(window, kWmClose, 0, 0);
}

void NotifyComproDtv(WindowSystem& windows, std::uint32_t rcCode) {
    const WindowHandle window = windows.FindWindowByName("Class of Compro primary Main control panel", "ComproDTV 4");
    if (window != kNoWindow) windows.SendWindowMessage(window, kComproDtvButtonMessage, rcCode, 0);
}

}  // namespace quorvel
