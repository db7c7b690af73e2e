#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/PostedEvents.h"
#include "platform/Sockets.h"
#include "receivers/HoldTracker.h"
#include "receivers/ServerAddress.h"

namespace quorvel {

enum class ConnectionEvent { Connected, Lost, Unreachable };

// The main thread's handler of what becomes of the connection; the receiver posts it.
class NetworkReceiverEvents {
public:
    virtual ~NetworkReceiverEvents() = default;
    // `detail` says why a server is unreachable; empty for the other events.
    virtual void ConnectionChanged(ConnectionEvent event, const std::string& detail) = 0;
};

struct NetworkTimings {
    std::chrono::milliseconds firstRetry{2000};
    std::chrono::milliseconds longestRetry{30000};
    std::chrono::milliseconds connectTimeout{5000};
    // A server whose host vanished without closing the connection sends nothing more, as an
    // idle one does; probes tell them apart within a minute.
    std::chrono::seconds keepAliveIdle{15};
    std::chrono::seconds keepAliveInterval{3};
};

// The pause after `failures` failed attempts in a row (0 after the first): doubling from
// the first retry up to the longest.
std::chrono::milliseconds RetryDelay(int failures, const NetworkTimings& timings);

// Receives a LIRC or WinLIRC server's button events over TCP on a thread of its own, which
// resolves the host, connects, reads, and tries again after failures and lost connections.
// Sample is the tick's, and never waits for the network. Start, Stop, SetOwnServerPort and
// Sample belong to the main thread.
class NetworkReceiver {
public:
    NetworkReceiver(Sockets& sockets, MainThread& mainThread, NetworkReceiverEvents& events, ServerAddress server,
                    NetworkTimings timings = {});
    ~NetworkReceiver();
    NetworkReceiver(const NetworkReceiver&) = delete;
    NetworkReceiver& operator=(const NetworkReceiver&) = delete;

    // False when the system lacks the resources for the thread.
    bool Start();
    // Ends the connection and the thread; from now on no event reaches the handler.
    void Stop();
    // The port of the program's own WinLIRC server while it listens (0 while not): the
    // receiver never connects to it on the loopback, where its own lines would come back.
    void SetOwnServerPort(std::uint16_t port) { ownServerPort_ = port; }
    std::optional<HeldButton> Sample();

private:
    void Run();
    // Whether a connection was made (and has ended since).
    bool Attempt(bool& outageReported);
    UniqueSocket ConnectTo(const SocketAddress& address, std::string& failure);
    void Serve(UniqueSocket connection);
    // False when the wait ended because the receiver stops.
    bool Pause(std::chrono::milliseconds length);
    void Post(ConnectionEvent event, std::string detail = {});
    static HoldTracker::Millis Now();

    Sockets& sockets_;
    PostedEvents<NetworkReceiverEvents> events_;
    const ServerAddress server_;
    const NetworkTimings timings_;

    std::unique_ptr<SocketWaiter> waiter_;  // the network thread's, but Wake
    std::thread thread_;
    std::atomic<bool> stopRequested_{false};
    std::atomic<std::uint16_t> ownServerPort_{0};

    std::mutex trackerLock_;
    HoldTracker tracker_;
};

}  // namespace quorvel
