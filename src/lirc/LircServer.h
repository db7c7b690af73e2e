#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "lirc/LircBroadcaster.h"
#include "lirc/LircCommands.h"
#include "platform/PostedEvents.h"
#include "platform/Sockets.h"

namespace quorvel {

// The main thread's handlers of client events; the server posts them, in the order the
// clients came and went.
class LircServerEvents {
public:
    virtual ~LircServerEvents() = default;
    virtual void ServerConnect() = 0;
    virtual void ServerDisconnect() = 0;
};

struct NetworkError {
    int code = 0;
    std::string text;
};

// The WinLIRC listener (LIRCServerTCPS): 127.0.0.1 only, at most 16 clients, served by one
// network thread that accepts, answers each client's commands to that client from the latest
// directory, and closes the connections that end. Start, Stop, Shutdown, SetDirectory,
// Broadcast and ClientCount belong to the main thread.
class LircServer final : public LircBroadcaster {
public:
    static constexpr std::size_t kMaxClients = 16;

    LircServer(Sockets& sockets, MainThread& mainThread, LircServerEvents& events);
    ~LircServer() override;
    LircServer(const LircServer&) = delete;
    LircServer& operator=(const LircServer&) = delete;

    // Nothing changes when the listener is already active.
    std::optional<NetworkError> Start(std::uint16_t port);
    // Closes every client, then the listener; their disconnect events follow on the main thread.
    void Stop();
    // Stop at the end of the program: from now on no event reaches the handlers, not even
    // one posted before.
    void Shutdown();
    // What the answers to commands come from from now on; the server keeps it across stops.
    void SetDirectory(std::shared_ptr<const LircDirectory> directory);

    bool IsActive() const override;
    std::size_t ClientCount() override;
    std::size_t Broadcast(std::string_view line) override;

private:
    struct Connection {
        explicit Connection(UniqueSocket connection) : socket(std::move(connection)) {}
        UniqueSocket socket;
        bool dropped = false;     // guarded by listLock_: out of the client list, to be closed
        bool moreToRead = false;  // the network thread's
        CommandLineSplitter commands;  // the network thread's
    };
    using Clock = std::chrono::steady_clock;

    void Serve();
    int WaitTimeoutMs(const std::optional<Clock::time_point>& listenerResumes) const;
    void ReadReady(const std::vector<SocketHandle>& ready);
    void Read(Connection& connection);
    bool Reply(Connection& connection, std::string_view replies);
    std::shared_ptr<const LircDirectory> Directory();
    bool AcceptWaiting();
    void Admit(UniqueSocket socket);
    void CloseDropped();
    void Drop(Connection& connection);
    void PostEvent(void (LircServerEvents::*handler)());
    NetworkError LastNetworkError();

    Sockets& sockets_;
    PostedEvents<LircServerEvents> events_;

    bool active_ = false;
    UniqueSocket listener_;
    std::unique_ptr<SocketWaiter> waiter_;
    std::thread networkThread_;
    std::atomic<bool> stopRequested_{false};
    // Every open connection; the network thread's while it runs, the main thread's otherwise.
    std::vector<std::unique_ptr<Connection>> connections_;

    // Guards the client list and every send, so that lines and replies leave whole.
    std::mutex listLock_;
    std::vector<Connection*> clients_;  // the client list, in order of connection

    std::mutex directoryLock_;
    std::shared_ptr<const LircDirectory> directory_ = std::make_shared<const LircDirectory>();
};

}  // namespace quorvel
