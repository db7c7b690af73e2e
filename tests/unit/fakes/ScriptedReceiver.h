#pragma once

#include <deque>
#include <optional>

#include "receivers/ReceiverReading.h"

namespace quorvel {

// Hands out prepared readings, one per tick; an idle reading once the script is used up.
class ScriptedReceiver final : public Receiver {
public:
    ReceiverKind kind = ReceiverKind::Beholder;
    bool comproPresent = false;
    std::deque<std::optional<ReceiverReading>> script;

    static ReceiverReading Press(std::uint32_t extendedCode) {
        return {true, extendedCode & 0xFF, extendedCode, true, false, {}};
    }
    void Hold(std::uint32_t extendedCode, int ticks) {
        for (int i = 0; i < ticks; ++i) script.push_back(Press(extendedCode));
    }
    void Idle(int ticks) {
        for (int i = 0; i < ticks; ++i) script.push_back(ReceiverReading{});
    }

    std::optional<ReceiverReading> ReadReceiver() override {
        if (script.empty()) return ReceiverReading{};
        auto next = script.front();
        script.pop_front();
        return next;
    }
    ReceiverKind Kind() const override { return kind; }
    bool ComproLibraryPresent() const override { return comproPresent; }
};

}  // namespace quorvel
