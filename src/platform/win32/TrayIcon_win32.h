#pragma once

#include <windows.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "platform/Log.h"
#include "platform/TrayIcon.h"
#include "platform/win32/Win32Handles.h"

namespace quorvel {

struct TrayShared;

// The notification-area icon of the main window. Shell_NotifyIcon waits for the shell's
// process, so every call to it is made on a thread of the icon's own, never by the caller.
class Win32TrayIcon final : public TrayIcon {
public:
    // Mouse events on the icon arrive at the window as callbackMessage.
    Win32TrayIcon(HWND window, HINSTANCE instance, UINT callbackMessage, Log& log);
    ~Win32TrayIcon() override;
    Win32TrayIcon(const Win32TrayIcon&) = delete;
    Win32TrayIcon& operator=(const Win32TrayIcon&) = delete;

    void Show() override;
    // Explorer started anew (the registered "TaskbarCreated" message): its tray has forgotten us.
    void OnTaskbarCreated();
    // Removes the icon unless Remove did, waits a little for the shell's answer, and ends the
    // icon's thread.
    void Close();
    // Around a tick: the shell hears of its picture and balloon once the press's outputs are out.
    void HoldCalls();
    void ReleaseCalls();

    void SetPicture(TrayPicture picture) override;
    void ShowBalloon(const std::string& title, const std::string& text) override;
    void Remove() override;

private:
    // Whether the icon's thread ends by the deadline.
    bool EndsBy(std::chrono::steady_clock::time_point deadline);

    std::shared_ptr<TrayShared> shared_;
    UniqueKernelHandle thread_;
    std::optional<std::chrono::steady_clock::time_point> removalAsked_;
};

}  // namespace quorvel
