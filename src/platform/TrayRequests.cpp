#include "platform/TrayRequests.h"

#include <algorithm>
#include <utility>

namespace quorvel {
namespace {

// A shell that refuses the icon is asked again after a second, then each time twice as late,
// at most once a minute.
constexpr std::chrono::seconds kFirstRetry{1};
constexpr std::chrono::seconds kLongestRetry{60};

}  // namespace

void TrayRequests::Show() {
    std::unique_lock guard(lock_);
    if (wanted_ || closing_) return;
    wanted_ = true;
    addDue_ = true;
    Wake(guard);
}

void TrayRequests::AddAgain() {
    std::unique_lock guard(lock_);
    if (!wanted_) return;
    shown_ = false;
    addDue_ = true;
    retryDelay_ = {};
    Wake(guard);
}

void TrayRequests::SetPicture(TrayPicture picture) {
    std::unique_lock guard(lock_);
    // The tick asks every 50 ms; only a change reaches the shell.
    if (picture == picture_) return;
    picture_ = picture;
    Wake(guard);
}

void TrayRequests::ShowBalloon(TrayBalloon balloon) {
    std::unique_lock guard(lock_);
    // A balloon raised before the icon is added (the cards found at start) waits for it; one
    // raised while the shell refuses the icon is lost with it.
    if (wanted_ && addFailed_ && !addDue_) return;
    balloon_ = std::move(balloon);
    Wake(guard);
}

void TrayRequests::Close() {
    std::unique_lock guard(lock_);
    wanted_ = false;
    closing_ = true;
    Wake(guard);
}

bool TrayRequests::Told() {
    std::lock_guard guard(lock_);
    return told_;
}

void TrayRequests::Hold() {
    std::lock_guard guard(lock_);
    ++holds_;
}

void TrayRequests::Release() {
    std::unique_lock guard(lock_);
    if (holds_ > 0) --holds_;
    if (wakeDue_) Wake(guard);
}

void TrayRequests::Wake(std::unique_lock<std::mutex>& guard) {
    wakeDue_ = holds_ > 0 && !closing_;
    if (wakeDue_) return;
    guard.unlock();
    wake_.notify_one();
}

std::optional<TrayCall> TrayRequests::Next(std::chrono::milliseconds patience) {
    std::unique_lock guard(lock_);
    const Time giveUp = now_() + patience;
    for (;;) {
        const Time now = now_();
        if (std::optional<TrayCall> call = TakeLocked(now)) return call;
        if (now >= giveUp) return std::nullopt;
        // A held tick wakes the thread as it ends.
        const bool retryAhead = wanted_ && addFailed_ && holds_ == 0 && now < retryAt_;
        wake_.wait_until(guard, retryAhead ? std::min(giveUp, retryAt_) : giveUp);
    }
}

void TrayRequests::Added(bool shown) {
    std::lock_guard guard(lock_);
    shown_ = shown;
    addFailed_ = !shown;
    if (shown) {
        retryDelay_ = {};
        return;
    }
    balloon_.reset();
    retryDelay_ = retryDelay_.count() == 0 ? kFirstRetry : std::min(retryDelay_ * 2, kLongestRetry);
    retryAt_ = now_() + retryDelay_;
}

std::optional<TrayCall> TrayRequests::TakeLocked(Time now) {
    if (closing_) {
        told_ = true;
        if (!shown_) return TrayCall{TrayCall::Kind::Stop};
        shown_ = false;
        return TrayCall{TrayCall::Kind::Remove};
    }
    if (holds_ > 0) {
        // What was due before the hold is looked at again when it ends.
        wakeDue_ = true;
        return std::nullopt;
    }
    if (wanted_ && addFailed_ && !shown_ && now >= retryAt_) addDue_ = true;
    if (addDue_) {
        addDue_ = false;
        addFailed_ = false;
        shellPicture_ = picture_;
        return TrayCall{TrayCall::Kind::Add, picture_};
    }
    if (!shown_) return std::nullopt;
    if (shellPicture_ != picture_) {
        shellPicture_ = picture_;
        return TrayCall{TrayCall::Kind::Picture, picture_};
    }
    if (!balloon_) return std::nullopt;
    TrayCall call{TrayCall::Kind::Balloon, picture_, std::move(*balloon_)};
    balloon_.reset();
    return call;
}

}  // namespace quorvel
