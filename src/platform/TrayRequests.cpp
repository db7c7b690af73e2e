#include "platform/TrayRequests.h"

#include <utility>

namespace quorvel {

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

TrayCall TrayRequests::Next() {
    std::unique_lock guard(lock_);
    std::optional<TrayCall> call;
    wake_.wait(guard, [&] { return (call = TakeLocked()).has_value(); });
    return *call;
}

std::optional<TrayCall> TrayRequests::Take() {
    std::lock_guard guard(lock_);
    return TakeLocked();
}

void TrayRequests::Added(bool shown) {
    std::lock_guard guard(lock_);
    shown_ = shown;
    addFailed_ = !shown;
    if (!shown) balloon_.reset();
}

std::optional<TrayCall> TrayRequests::TakeLocked() {
    if (closing_) {
        if (!shown_) return TrayCall{TrayCall::Kind::Stop};
        shown_ = false;
        return TrayCall{TrayCall::Kind::Remove};
    }
    if (holds_ > 0) {
        // What was due before the hold is looked at again when it ends.
        wakeDue_ = true;
        return std::nullopt;
    }
    if (addDue_) {
        addDue_ = false;
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
