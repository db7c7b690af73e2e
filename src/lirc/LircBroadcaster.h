#pragma once

#include <cstddef>
#include <string_view>

namespace quorvel {

// What the tick needs of the WinLIRC listener.
class LircBroadcaster {
public:
    virtual ~LircBroadcaster() = default;
    virtual bool IsActive() const = 0;
    // The number of connected clients, read under the client-list lock.
    virtual std::size_t ClientCount() = 0;
    // Under the client-list lock: sends the line to every client in list order and returns
    // the number of clients counted when the lock was taken.
    virtual std::size_t Broadcast(std::string_view line) = 0;
};

}  // namespace quorvel
