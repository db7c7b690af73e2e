#pragma once

#include <string>
#include <vector>

#include "lirc/LircBroadcaster.h"

namespace quorvel {

class FakeLircBroadcaster final : public LircBroadcaster {
public:
    bool active = true;
    std::size_t clients = 1;
    std::vector<std::string> lines;

    bool IsActive() const override { return active; }
    std::size_t ClientCount() override { return clients; }
    std::size_t Broadcast(std::string_view line) override {
        if (clients > 0) lines.emplace_back(line);
        return clients;
    }
};

}  // namespace quorvel
