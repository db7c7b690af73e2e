#include "ui/TrayIcon_win.h"

#include <algorithm>

#include "ResourceIds.h"
#include "platform/win32/FileLog_win32.h"

namespace quorvel {
namespace {

constexpr UINT kIconId = 1;
constexpr UINT kBalloonTimeoutMs = 10000;

template <std::size_t N>
void CopyCut(char (&target)[N], const std::string& text) {
    const std::size_t length = std::min(text.size(), N - 1);
    text.copy(target, length);
    target[length] = '\0';
}

}  // namespace

NOTIFYICONDATAA Win32TrayIcon::Data(UINT flags) const {
    NOTIFYICONDATAA data{};
    // Only the fields of the Windows 2000 layout (balloons included) are used. Every shell from
    // 2000 on takes that size; older shells do not know the larger layouts of later systems.
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.hWnd = window_;
    data.uID = kIconId;
    data.uFlags = flags;
    return data;
}

HICON Win32TrayIcon::Picture(int index) const {
    return static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(IDI_TRAY_FIRST + index), IMAGE_ICON,
                                         GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                         LR_SHARED));
}

bool Win32TrayIcon::Add() {
    NOTIFYICONDATAA data = Data(NIF_ICON | NIF_TIP | NIF_MESSAGE);
    data.uCallbackMessage = kCallbackMessage;
    data.hIcon = Picture(picture_);
    CopyCut(data.szTip, "Quorvel");
    shown_ = Shell_NotifyIconA(NIM_ADD, &data) != FALSE;
    // Explorer may not be ready at logon; the icon comes when "TaskbarCreated" arrives.
    if (!shown_) log_.Write(LastErrorText("Shell_NotifyIconA(NIM_ADD)"));
    return shown_;
}

void Win32TrayIcon::Show() {
    wanted_ = true;
    if (shown_ || !Add() || !pendingBalloon_) return;
    Send(*pendingBalloon_);
    pendingBalloon_.reset();
}

void Win32TrayIcon::Hide() {
    wanted_ = false;
    if (!shown_) return;
    NOTIFYICONDATAA data = Data(0);
    Shell_NotifyIconA(NIM_DELETE, &data);
    shown_ = false;
}

// Explorer may not have been ready when the icon was first added (at logon), and a restarted
// Explorer has lost it; either way it is added now.
void Win32TrayIcon::OnTaskbarCreated() {
    if (!wanted_) return;
    shown_ = false;
    Show();
}

void Win32TrayIcon::SetPicture(int index) {
    // The tick asks every 50 ms; only a change reaches the shell.
    if (index == picture_) return;
    picture_ = index;
    // The shell call waits for the tray; the tick posts the change to itself and goes on to
    // its outputs, so a press reaches WinLIRC clients without waiting for the picture.
    if (!shown_ || picturePending_) return;
    picturePending_ = PostMessageA(window_, kApplyPictureMessage, 0, 0) != FALSE;
}

void Win32TrayIcon::ApplyPicture() {
    picturePending_ = false;
    if (!shown_) return;
    NOTIFYICONDATAA data = Data(NIF_ICON);
    data.hIcon = Picture(picture_);
    Shell_NotifyIconA(NIM_MODIFY, &data);
}

void Win32TrayIcon::ShowBalloon(const std::string& title, const std::string& text) {
    if (shown_) {
        Send({title, text});
    } else if (!wanted_) {
        pendingBalloon_ = Balloon{title, text};
    }
}

void Win32TrayIcon::Send(const Balloon& balloon) {
    NOTIFYICONDATAA data = Data(NIF_INFO);
    CopyCut(data.szInfoTitle, balloon.title);
    CopyCut(data.szInfo, balloon.text);
    data.dwInfoFlags = NIIF_INFO;
    data.uTimeout = kBalloonTimeoutMs;
    Shell_NotifyIconA(NIM_MODIFY, &data);
}

}  // namespace quorvel
