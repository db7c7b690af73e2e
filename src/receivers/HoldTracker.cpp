#include "receivers/HoldTracker.h"

namespace quorvel {

void HoldTracker::OnEvent(const BroadcastLine& event, Millis now) {
    const auto extendedCode = static_cast<std::uint32_t>(event.code);
    const HeldButton* latest = !waiting_.empty() ? &waiting_.back() : shown_ ? &*shown_ : nullptr;
    // A repeat of a button that is not held (its first line was missed, say, because the
    // connection came in the middle of a hold) is a press too: the user is holding it.
    const bool continues = event.repeat != 0 && latest && latest->extendedCode == extendedCode && LatestHeld(now);
    if (!continues && waiting_.size() < kMaxWaiting) waiting_.push_back({extendedCode, event.button});
    holding_ = true;
    lastEvent_ = now;
}

std::optional<HeldButton> HoldTracker::Sample(Millis now) {
    if (!waiting_.empty()) {
        // The engine takes the same code on consecutive ticks for one press: a second press of
        // the button shown needs a tick without it first.
        if (shown_ && shown_->extendedCode == waiting_.front().extendedCode) {
            shown_.reset();
            return std::nullopt;
        }
        shown_ = std::move(waiting_.front());
        waiting_.pop_front();
        return shown_;
    }
    if (shown_ && !LatestHeld(now)) {
        shown_.reset();
        holding_ = false;
    }
    return shown_;
}

}  // namespace quorvel
