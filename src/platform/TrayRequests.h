#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "platform/TrayIcon.h"

namespace quorvel {

struct TrayBalloon {
    std::string title;
    std::string text;
    friend bool operator==(const TrayBalloon&, const TrayBalloon&) = default;
};

// One call to the shell, the next the tray thread is to make.
struct TrayCall {
    enum class Kind { Add, Picture, Balloon, Remove, Stop };
    explicit TrayCall(Kind kind, TrayPicture picture = TrayPicture::Starting, TrayBalloon balloon = {})
        : kind(kind), picture(picture), balloon(std::move(balloon)) {}
    Kind kind;
    TrayPicture picture;
    TrayBalloon balloon;
    friend bool operator==(const TrayCall&, const TrayCall&) = default;
};

// The icon's wishes, handed from the main thread to the one thread that talks to the shell.
// Recording a wish never waits for the shell; what piles up while the shell is slow collapses
// to the latest picture and the latest balloon, so the shell catches up with the last state.
class TrayRequests {
public:
    using Time = std::chrono::steady_clock::time_point;
    explicit TrayRequests(std::function<Time()> now = &std::chrono::steady_clock::now) : now_(std::move(now)) {}

    void Show();
    // The shell started anew and has forgotten the icon.
    void AddAgain();
    void SetPicture(TrayPicture picture);
    void ShowBalloon(TrayBalloon balloon);
    // The icon is removed, then the tray thread ends.
    void Close();
    // Whether the shell has been told all it will be told: the removal has been handed to it,
    // or there was no icon to remove.
    bool Told();
    // While held (the tick runs), wishes are recorded but no call is due, so the tray thread
    // does not compete with the press's outputs. Holds nest.
    void Hold();
    void Release();

    // For the tray thread: the next call, waiting up to patience for one to become due.
    std::optional<TrayCall> Next(std::chrono::milliseconds patience);
    // What the shell answered to the last Add. A refused Add is tried again later, each time
    // a little later, until the shell takes the icon.
    void Added(bool shown);

private:
    std::optional<TrayCall> TakeLocked(Time now);
    void Wake(std::unique_lock<std::mutex>& guard);

    std::mutex lock_;
    std::condition_variable wake_;
    bool wanted_ = false;
    bool addDue_ = false;
    bool shown_ = false;
    bool addFailed_ = false;
    std::chrono::seconds retryDelay_{0};
    Time retryAt_{};
    bool closing_ = false;
    bool told_ = false;
    int holds_ = 0;
    bool wakeDue_ = false;
    TrayPicture picture_ = TrayPicture::Starting;
    TrayPicture shellPicture_ = TrayPicture::Starting;
    std::optional<TrayBalloon> balloon_;
    std::function<Time()> now_;
};

}  // namespace quorvel
