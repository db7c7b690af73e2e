#include "lirc/LircServer.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <system_error>

#include "platform/MainThread.h"

namespace quorvel {
namespace {

// How often a waiting thread looks at its stop signal when the system does not wake it sooner.
constexpr int kWakeIntervalMs = 50;

}  // namespace

LircServer::LircServer(Sockets& sockets, MainThread& mainThread, LircServerEvents& events)
    : sockets_(sockets), mainThread_(mainThread), events_(events) {}

LircServer::~LircServer() {
    Shutdown();
    JoinClients(JoinScope::All);
}

std::optional<NetworkError> LircServer::Start(std::uint16_t port) {
    if (active_) return std::nullopt;
    JoinClients(JoinScope::Finished);

    UniqueSocket listener(sockets_, sockets_.OpenTcp());
    if (!listener.IsValid()) return LastNetworkError();
    // A protection, not a condition for serving: a system that lacks the option still listens.
    sockets_.PrepareListenerAddress(listener.Get());
    // Non-blocking, so that a connection reset between the wait and the accept cannot hang it.
    if (!sockets_.SetNonBlocking(listener.Get()) || !sockets_.BindLoopback(listener.Get(), port) ||
        !sockets_.Listen(listener.Get())) {
        return LastNetworkError();
    }

    {
        std::lock_guard lock(listLock_);
        accepting_ = true;
        dropEvents_ = false;
    }
    acceptStop_ = false;
    listener_ = std::move(listener);
    try {
        acceptThread_ = std::thread(&LircServer::AcceptLoop, this);
    } catch (const std::system_error& error) {
        std::lock_guard lock(listLock_);
        accepting_ = false;
        listener_.Reset();
        return NetworkError{error.code().value(), error.what()};
    }
    active_ = true;
    return std::nullopt;
}

void LircServer::Stop() {
    if (active_) {
        {
            std::lock_guard lock(listLock_);
            accepting_ = false;
            for (Client* client : clients_) Drop(*client);
            clients_.clear();
        }
        acceptStop_ = true;
        // Wakes the accept thread at once where the system allows; elsewhere it wakes by itself.
        sockets_.ShutdownBoth(listener_.Get());
        acceptThread_.join();
        listener_.Reset();
        active_ = false;
    }
    JoinClients(JoinScope::Finished);
}

void LircServer::Shutdown() {
    {
        std::lock_guard lock(listLock_);
        dropEvents_ = true;
    }
    Stop();
    JoinClients(JoinScope::NotHandingOver);
}

bool LircServer::IsActive() const { return active_; }

std::size_t LircServer::ClientCount() {
    std::lock_guard lock(listLock_);
    return clients_.size();
}

std::size_t LircServer::Broadcast(std::string_view line) {
    std::lock_guard lock(listLock_);
    const std::size_t count = clients_.size();
    for (auto it = clients_.begin(); it != clients_.end();) {
        // One send per line: some clients act only on the first line of each receive.
        if (sockets_.Send((*it)->socket.Get(), line) == line.size()) {
            ++it;
            continue;
        }
        // A client that cannot take the whole line now would hold up the tick. Its thread
        // sees the connection end and reports the disconnect.
        Drop(**it);
        it = clients_.erase(it);
    }
    return count;
}

void LircServer::AcceptLoop() {
    while (!acceptStop_) {
        JoinClients(JoinScope::Finished);
        const Readiness readiness = sockets_.WaitReadable(listener_.Get(), kWakeIntervalMs);
        if (readiness == Readiness::TimedOut) continue;
        const SocketHandle connection =
            readiness == Readiness::Ready ? sockets_.Accept(listener_.Get()) : kNoSocket;
        if (connection != kNoSocket) {
            Admit(UniqueSocket(sockets_, connection));
        } else if (!acceptStop_) {
            // A failure that persists (no descriptors left) must not spin the processor.
            std::this_thread::sleep_for(std::chrono::milliseconds(kWakeIntervalMs));
        }
    }
}

void LircServer::Admit(UniqueSocket connection) {
    // Without Nagle's delay each line leaves in a segment of its own, at once.
    sockets_.SetNoDelay(connection.Get());
    // A blocking send to a client that stopped reading would hold up the tick.
    if (!sockets_.SetNonBlocking(connection.Get())) return;

    std::lock_guard lock(listLock_);
    // Over the limit the connection is closed at once, without a word and without an event.
    if (!accepting_ || clients_.size() >= kMaxClients) return;
    auto client = std::make_unique<Client>(std::move(connection));
    try {
        // The thread waits for the list lock before it does anything.
        client->thread = std::thread(&LircServer::RunClient, this, std::ref(*client));
    } catch (const std::system_error&) {
        return;
    }
    clients_.push_back(client.get());
    threads_.push_back(std::move(client));
}

void LircServer::RunClient(Client& client) {
    LIRCServerTCPSConnect(client);
    LIRCServerTCPSExecute(client);
    {
        std::lock_guard lock(listLock_);
        std::erase(clients_, &client);
    }
    // Closed before the event, so the peer sees the end without waiting for the main thread.
    client.socket.Reset();
    LIRCServerTCPSDisconnect(client);
    std::lock_guard lock(listLock_);
    client.finished = true;
}

void LircServer::LIRCServerTCPSConnect(Client& client) {
    HandOver(client, [this] { events_.ServerConnect(); });
}

void LircServer::LIRCServerTCPSExecute(Client& client) {
    std::array<char, 512> discarded;
    while (!client.stopRequested) {
        const Readiness readiness = sockets_.WaitReadable(client.socket.Get(), kWakeIntervalMs);
        if (readiness == Readiness::TimedOut) continue;
        if (readiness == Readiness::Failed ||
            sockets_.Receive(client.socket.Get(), discarded) == ReceiveStatus::Ended) {
            return;
        }
    }
}

void LircServer::LIRCServerTCPSDisconnect(Client& client) {
    HandOver(client, [this] { events_.ServerDisconnect(); });
}

void LircServer::HandOver(Client& client, const std::function<void()>& handler) {
    {
        std::lock_guard lock(listLock_);
        if (dropEvents_) return;
        client.handingOver = true;
    }
    // Never under the list lock: the main thread may be waiting for it in the tick.
    mainThread_.RunSync(handler);
    std::lock_guard lock(listLock_);
    client.handingOver = false;
}

void LircServer::Drop(Client& client) {
    client.stopRequested = true;
    sockets_.ShutdownBoth(client.socket.Get());
}

void LircServer::JoinClients(JoinScope scope) {
    std::vector<std::unique_ptr<Client>> joinable;
    {
        std::lock_guard lock(listLock_);
        const auto keep = [scope](const std::unique_ptr<Client>& client) {
            switch (scope) {
                case JoinScope::Finished: return !client->finished;
                case JoinScope::NotHandingOver: return client->handingOver;
                case JoinScope::All: return false;
            }
            return true;
        };
        const auto firstJoinable = std::stable_partition(threads_.begin(), threads_.end(), keep);
        joinable.assign(std::make_move_iterator(firstJoinable), std::make_move_iterator(threads_.end()));
        threads_.erase(firstJoinable, threads_.end());
    }
    // Outside the lock: a thread on its way out still takes it once.
    for (const auto& client : joinable) client->thread.join();
}

NetworkError LircServer::LastNetworkError() {
    const int code = sockets_.LastError();
    return NetworkError{code, sockets_.ErrorText(code)};
}

}  // namespace quorvel
