#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "lirc/LircBroadcaster.h"
#include "platform/Sockets.h"

namespace quorvel {

class MainThread;

// The main thread's handlers of client events; the server hands them over synchronously.
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

// The WinLIRC listener (LIRCServerTCPS): 127.0.0.1 only, at most 16 clients, one thread per
// client that reads and discards, one accept thread. Start, Stop, Shutdown, Broadcast and
// ClientCount belong to the main thread.
class LircServer final : public LircBroadcaster {
public:
    static constexpr std::size_t kMaxClients = 16;

    LircServer(Sockets& sockets, MainThread& mainThread, LircServerEvents& events);
    // Joins every thread. Threads still handing an event over wait for the main thread, so
    // destroy the server only once the main thread no longer runs hand-overs (its window is
    // gone) and RunSync returns without running them.
    ~LircServer() override;
    LircServer(const LircServer&) = delete;
    LircServer& operator=(const LircServer&) = delete;

    // Nothing changes when the listener is already active.
    std::optional<NetworkError> Start(std::uint16_t port);
    // Closes every client in list order, then the listener. The disconnect events follow
    // whenever the main thread handles hand-overs again; Stop never waits for them.
    void Stop();
    // Stop at the end of the program: events not yet handed over are dropped, and every
    // thread that is not waiting for the main thread is joined.
    void Shutdown();

    bool IsActive() const override;
    std::size_t ClientCount() override;
    std::size_t Broadcast(std::string_view line) override;

private:
    struct Client {
        explicit Client(UniqueSocket connection) : socket(std::move(connection)) {}
        UniqueSocket socket;
        std::thread thread;
        std::atomic<bool> stopRequested{false};
        bool handingOver = false;  // guarded by listLock_
        bool finished = false;     // guarded by listLock_
    };
    enum class JoinScope { Finished, NotHandingOver, All };

    void AcceptLoop();
    void Admit(UniqueSocket connection);
    void RunClient(Client& client);
    void LIRCServerTCPSConnect(Client& client);
    void LIRCServerTCPSExecute(Client& client);
    void LIRCServerTCPSDisconnect(Client& client);
    void HandOver(Client& client, const std::function<void()>& handler);
    void Drop(Client& client);
    void JoinClients(JoinScope scope);
    NetworkError LastNetworkError();

    Sockets& sockets_;
    MainThread& mainThread_;
    LircServerEvents& events_;

    bool active_ = false;
    UniqueSocket listener_;
    std::thread acceptThread_;
    std::atomic<bool> acceptStop_{false};

    std::mutex listLock_;
    std::vector<Client*> clients_;                 // the client list, in order of connection
    std::vector<std::unique_ptr<Client>> threads_;  // every client thread not joined yet
    bool accepting_ = false;
    bool dropEvents_ = false;
};

}  // namespace quorvel
