#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace quorvel::sim {

// Sends control commands to a substitute library, in order, from a thread of its own so the
// window never waits on the network. After each command it stores a status text and calls
// notify (on its own thread), which should only hand the news to the window.
class ControlSender {
public:
    ControlSender(std::uint16_t port, std::function<void()> notify);
    ~ControlSender();
    ControlSender(const ControlSender&) = delete;
    ControlSender& operator=(const ControlSender&) = delete;

    void Send(const std::string& command);
    std::string Status() const;

private:
    void Run();
    std::string Exchange(const std::string& command) const;

    const std::uint16_t port;
    const std::function<void()> notify;
    mutable std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::string> pending;
    std::string status;
    bool stopping = false;
    std::thread worker;
};

}  // namespace quorvel::sim
