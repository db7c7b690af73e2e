#include "platform/win32/TrayIcon_win32.h"

#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <mutex>

#include "ResourceIds.h"
#include "platform/ThreadPriority.h"
#include "platform/TrayRequests.h"
#include "platform/win32/FileLog_win32.h"

namespace quorvel {

// What the icon shares with its thread. The thread holds it too, so that it outlives an icon
// that stopped waiting for a shell that does not answer.
struct TrayShared {
    TrayRequests requests;
    HWND window;
    HINSTANCE instance;
    UINT callbackMessage;
    std::mutex logLock;
    Log* log;

    void Write(const std::string& line) {
        std::lock_guard guard(logLock);
        if (log) log->Write(line);
    }
};

namespace {

constexpr UINT kIconId = 1;
constexpr UINT kBalloonTimeoutMs = 10000;
// How long the shell has, counted from the start of the exit, to answer the icon's removal.
// A removal in the shell's hands is carried out whether or not its answer is awaited (a sent
// message outlives its sender), so the exit waits only briefly for it: Windows' shell answers
// at once, Wine's hides its emptied tray first and answers two seconds later.
constexpr std::chrono::milliseconds kAnswerWait{300};
// How long the exit waits, from its start, for a shell that has not answered an earlier call
// before the icon is left to it.
constexpr std::chrono::milliseconds kHungShellWait{2000};
// How long the thread sleeps at a time while nothing is due.
constexpr std::chrono::milliseconds kIdleWait{60000};

template <std::size_t N>
void CopyCut(char (&target)[N], const std::string& text) {
    const std::size_t length = std::min(text.size(), N - 1);
    text.copy(target, length);
    target[length] = '\0';
}

NOTIFYICONDATAA Data(const TrayShared& shared, UINT flags) {
    NOTIFYICONDATAA data{};
    // Only the fields of the Windows 2000 layout (balloons included) are used. Every shell from
    // 2000 on takes that size; older shells do not know the larger layouts of later systems.
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.hWnd = shared.window;
    data.uID = kIconId;
    data.uFlags = flags;
    return data;
}

HICON Picture(const TrayShared& shared, TrayPicture picture) {
    return static_cast<HICON>(LoadImageA(shared.instance, MAKEINTRESOURCEA(IDI_TRAY_FIRST + static_cast<int>(picture)),
                                         IMAGE_ICON, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                         LR_SHARED));
}

bool Notify(TrayShared& shared, DWORD message, NOTIFYICONDATAA& data, const char* call) {
    if (Shell_NotifyIconA(message, &data)) return true;
    shared.Write(LastErrorText(call));
    return false;
}

void Perform(TrayShared& shared, const TrayCall& call) {
    switch (call.kind) {
        case TrayCall::Kind::Add: {
            NOTIFYICONDATAA data = Data(shared, NIF_ICON | NIF_TIP | NIF_MESSAGE);
            data.uCallbackMessage = shared.callbackMessage;
            data.hIcon = Picture(shared, call.picture);
            CopyCut(data.szTip, "Quorvel");
            if (Shell_NotifyIconA(NIM_ADD, &data)) {
                shared.requests.Added(true);
                return;
            }
            const DWORD error = GetLastError();
            // The shell refuses to add an icon it has already: one whose "TaskbarCreated" crossed
            // our first add, or whose add timed out at logon although the shell made it. Then
            // the icon is there and takes the picture.
            if (Shell_NotifyIconA(NIM_MODIFY, &data)) {
                shared.requests.Added(true);
                return;
            }
            // Explorer may not be ready at logon: the add is tried again later, and at once
            // when "TaskbarCreated" arrives.
            shared.Write(Win32ErrorText("Shell_NotifyIconA(NIM_ADD)", error));
            shared.requests.Added(false);
            return;
        }
        case TrayCall::Kind::Picture: {
            NOTIFYICONDATAA data = Data(shared, NIF_ICON);
            data.hIcon = Picture(shared, call.picture);
            Notify(shared, NIM_MODIFY, data, "Shell_NotifyIconA(NIM_MODIFY)");
            return;
        }
        case TrayCall::Kind::Balloon: {
            NOTIFYICONDATAA data = Data(shared, NIF_INFO);
            CopyCut(data.szInfoTitle, call.balloon.title);
            CopyCut(data.szInfo, call.balloon.text);
            data.dwInfoFlags = NIIF_INFO;
            data.uTimeout = kBalloonTimeoutMs;
            Notify(shared, NIM_MODIFY, data, "Shell_NotifyIconA(NIM_MODIFY)");
            return;
        }
        case TrayCall::Kind::Remove: {
            NOTIFYICONDATAA data = Data(shared, 0);
            Notify(shared, NIM_DELETE, data, "Shell_NotifyIconA(NIM_DELETE)");
            return;
        }
        case TrayCall::Kind::Stop: return;
    }
}

DWORD WINAPI RunTray(void* parameter) {
    const std::unique_ptr<std::shared_ptr<TrayShared>> owned(static_cast<std::shared_ptr<TrayShared>*>(parameter));
    TrayShared& shared = **owned;
    LowerCurrentThread();
    for (;;) {
        const std::optional<TrayCall> call = shared.requests.Next(kIdleWait);
        if (!call) continue;
        if (call->kind == TrayCall::Kind::Stop) return 0;
        Perform(shared, *call);
    }
}

}  // namespace

Win32TrayIcon::Win32TrayIcon(HWND window, HINSTANCE instance, UINT callbackMessage, Log& log)
    : shared_(std::make_shared<TrayShared>()) {
    shared_->window = window;
    shared_->instance = instance;
    shared_->callbackMessage = callbackMessage;
    shared_->log = &log;
}

Win32TrayIcon::~Win32TrayIcon() { Close(); }

void Win32TrayIcon::Show() {
    shared_->requests.Show();
    if (thread_) return;
    auto parameter = std::make_unique<std::shared_ptr<TrayShared>>(shared_);
    thread_.Reset(CreateThread(nullptr, 0, RunTray, parameter.get(), 0, nullptr));
    if (!thread_) {
        shared_->Write(LastErrorText("CreateThread"));
        return;
    }
    parameter.release();
}

void Win32TrayIcon::OnTaskbarCreated() { shared_->requests.AddAgain(); }

void Win32TrayIcon::SetPicture(TrayPicture picture) { shared_->requests.SetPicture(picture); }

void Win32TrayIcon::ShowBalloon(const std::string& title, const std::string& text) {
    shared_->requests.ShowBalloon({title, text});
}

void Win32TrayIcon::HoldCalls() { shared_->requests.Hold(); }

void Win32TrayIcon::ReleaseCalls() { shared_->requests.Release(); }

void Win32TrayIcon::Remove() {
    if (!removalAsked_) removalAsked_ = std::chrono::steady_clock::now();
    shared_->requests.Close();
}

void Win32TrayIcon::Close() {
    Remove();
    if (!thread_) return;
    const bool ended =
        EndsBy(*removalAsked_ + kAnswerWait) || (!shared_->requests.Told() && EndsBy(*removalAsked_ + kHungShellWait));
    if (!ended) {
        // The thread is left to the end of the process, and with it the shell's answer.
        if (!shared_->requests.Told()) shared_->Write("The shell did not answer; the tray icon is left to it");
        std::lock_guard guard(shared_->logLock);
        shared_->log = nullptr;
    }
    thread_.Reset();
}

bool Win32TrayIcon::EndsBy(std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return WaitForSingleObject(thread_.Get(), static_cast<DWORD>(std::max<std::int64_t>(left.count(), 0))) ==
           WAIT_OBJECT_0;
}

}  // namespace quorvel
