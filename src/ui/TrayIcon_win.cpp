#include "ui/TrayIcon_win.h"


#include <algorithm>

#include "ResourceIds.h"

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
    data.cbSize = sizeof data;
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

void Win32TrayIcon::Show() {
    NOTIFYICONDATAA data = Data(NIF_ICON | NIF_TIP | NIF_MESSAGE);
    data.uCallbackMessage = kCallbackMessage;
    data.hIcon = Picture(picture_);
    CopyCut(data.szTip, "Quorvel");
    shown_ = Shell_NotifyIconA(NIM_ADD, &data) != FALSE;
}

void Win32TrayIcon::Hide() {
    if (!shown_) return;
    NOTIFYICONDATAA data = Data(0);
    Shell_NotifyIconA(NIM_DELETE, &data);
    shown_ = false;
}

void Win32TrayIcon::SetPicture(int index) {
    // The tick asks every 50 ms; only a change reaches the shell.
    if (index == picture_) return;
    picture_ = index;
    if (!shown_) return;
    NOTIFYICONDATAA data = Data(NIF_ICON);
    data.hIcon = Picture(index);
    Shell_NotifyIconA(NIM_MODIFY, &data);
}

void Win32TrayIcon::ShowBalloon(const std::string& title, const std::string& text) {
    if (!shown_) return;
    NOTIFYICONDATAA data = Data(NIF_INFO);
    CopyCut(data.szInfoTitle, title);
    CopyCut(data.szInfo, text);
    data.dwInfoFlags = NIIF_INFO;
    data.uTimeout = kBalloonTimeoutMs;
    Shell_NotifyIconA(NIM_MODIFY, &data);
}

}  // namespace quorvel
