#include "lirc/LircServer.h"

#include <algorithm>
#include <array>
#include <system_error>

#include "platform/ThreadPriority.h"

namespace quorvel {
namespace {

// After a failure that may persist (no descriptors left to accept with, a wait that fails),
// the network thread tries again this much later instead of spinning.
constexpr auto kRetryPause = std::chrono::milliseconds(50);
// What one round reads of a client at most, so that a client that floods holds up nobody.
constexpr int kReadsPerRound = 16;

}  // namespace

LircServer::LircServer(Sockets& sockets, MainThread& mainThread, LircServerEvents& events)
    : sockets_(sockets), events_(mainThread, events) {}

LircServer::~LircServer() { Shutdown(); }

std::optional<NetworkError> LircServer::Start(std::uint16_t port) {
    if (active_) return std::nullopt;

    UniqueSocket listener(sockets_, sockets_.OpenTcp());
    if (!listener) return LastNetworkError();
    // A protection, not a condition for serving: a system that lacks the option still listens.
    sockets_.PrepareListenerAddress(listener.Get());
    // Non-blocking, so that a connection reset between the wait and the accept cannot hang it.
    if (!sockets_.SetNonBlocking(listener.Get()) || !sockets_.BindLoopback(listener.Get(), port) ||
        !sockets_.Listen(listener.Get())) {
        return LastNetworkError();
    }
    std::unique_ptr<SocketWaiter> waiter = sockets_.CreateWaiter();
    if (!waiter || !waiter->Add(listener.Get())) return LastNetworkError();

    stopRequested_ = false;
    listener_ = std::move(listener);
    waiter_ = std::move(waiter);
    try {
        networkThread_ = std::thread(&LircServer::Serve, this);
    } catch (const std::system_error& error) {
        listener_.Reset();
        waiter_.reset();
        return NetworkError{error.code().value(), error.what()};
    }
    active_ = true;
    return std::nullopt;
}

void LircServer::Stop() {
    if (!active_) return;
    stopRequested_ = true;
    waiter_->Wake();
    // The network thread never waits for the main thread, so this returns at once.
    networkThread_.join();
    {
        std::lock_guard lock(listLock_);
        for (Connection* client : clients_) Drop(*client);
        clients_.clear();
    }
    CloseDropped();
    listener_.Reset();
    waiter_.reset();
    active_ = false;
}

void LircServer::Shutdown() {
    events_.Close();
    Stop();
}

// The network thread waits for this lock only while a pointer is swapped: the old directory,
// which may be large, is freed after the lock is released.
void LircServer::SetDirectory(std::shared_ptr<const LircDirectory> directory) {
    std::lock_guard lock(directoryLock_);
    directory_.swap(directory);
}

std::shared_ptr<const LircDirectory> LircServer::Directory() {
    std::lock_guard lock(directoryLock_);
    return directory_;
}

bool LircServer::IsActive() const { return active_; }

std::size_t LircServer::ClientCount() {
    std::lock_guard lock(listLock_);
    return clients_.size();
}

std::size_t LircServer::Broadcast(std::string_view line) {
    std::lock_guard lock(listLock_);
    const std::size_t count = clients_.size();
    bool dropped = false;
    for (auto it = clients_.begin(); it != clients_.end();) {
        // One send per line: some clients act only on the first line of each receive.
        if (sockets_.Send((*it)->socket.Get(), line) == line.size()) {
            ++it;
            continue;
        }
        // A client that cannot take the whole line now would hold up the tick.
        Drop(**it);
        it = clients_.erase(it);
        dropped = true;
    }
    // The network thread closes what was dropped.
    if (dropped) waiter_->Wake();
    return count;
}

void LircServer::Serve() {
    LowerCurrentThread();
    std::vector<SocketHandle> ready;
    // While set, the listener is left out of the wait until then.
    std::optional<Clock::time_point> listenerResumes;
    for (;;) {
        const bool waited = waiter_->Wait(WaitTimeoutMs(listenerResumes), ready);
        if (stopRequested_) return;
        if (!waited) {
            std::this_thread::sleep_for(kRetryPause);
            continue;
        }
        ReadReady(ready);
        CloseDropped();
        if (listenerResumes) {
            if (Clock::now() >= *listenerResumes) {
                listenerResumes.reset();
                if (!waiter_->Add(listener_.Get())) listenerResumes = Clock::now() + kRetryPause;
            }
        } else if (std::find(ready.begin(), ready.end(), listener_.Get()) != ready.end() && !AcceptWaiting()) {
            // A listener with a connection that cannot be accepted stays ready.
            waiter_->Remove(listener_.Get());
            listenerResumes = Clock::now() + kRetryPause;
        }
    }
}

int LircServer::WaitTimeoutMs(const std::optional<Clock::time_point>& listenerResumes) const {
    const auto hasMoreToRead = [](const std::unique_ptr<Connection>& connection) { return connection->moreToRead; };
    if (std::any_of(connections_.begin(), connections_.end(), hasMoreToRead)) return 0;
    if (!listenerResumes) return -1;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*listenerResumes - Clock::now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
}

void LircServer::ReadReady(const std::vector<SocketHandle>& ready) {
    for (const auto& connection : connections_) {
        if (connection->moreToRead ||
            std::find(ready.begin(), ready.end(), connection->socket.Get()) != ready.end()) {
            Read(*connection);
        }
    }
}

// Every command line is answered to the client that sent it. Reading goes on until nothing is
// left, because Windows reports what arrives only once.
void LircServer::Read(Connection& connection) {
    std::array<char, 4096> received;
    std::shared_ptr<const LircDirectory> directory;
    std::string replies;
    const CommandLineSplitter::LineHandler answer = [&](std::string_view line, bool overlong) {
        replies += overlong ? RefuseOverlongLine(line) : AnswerCommand(line, *directory);
    };
    connection.moreToRead = true;
    for (int reads = 0; reads < kReadsPerRound; ++reads) {
        std::size_t size = 0;
        const ReceiveStatus status = sockets_.Receive(connection.socket.Get(), received, size);
        if (status == ReceiveStatus::Data) {
            // Taken after the commands came, so that they see every change made before they were sent.
            directory = Directory();
            connection.commands.Feed(std::string_view(received.data(), size), answer);
            const bool kept = Reply(connection, replies);
            replies.clear();
            if (kept) continue;
        }
        connection.moreToRead = false;
        if (status == ReceiveStatus::Ended) {
            std::lock_guard lock(listLock_);
            if (!connection.dropped) {
                std::erase(clients_, &connection);
                Drop(connection);
            }
        }
        return;
    }
}

// The replies to one receive leave in one send. A client that sends faster than it reads fills
// its buffers like a client that stopped reading, and is dropped the same way; false then.
bool LircServer::Reply(Connection& connection, std::string_view replies) {
    if (replies.empty()) return true;
    std::lock_guard lock(listLock_);
    if (connection.dropped) return false;
    if (sockets_.Send(connection.socket.Get(), replies) == replies.size()) return true;
    std::erase(clients_, &connection);
    Drop(connection);
    return false;
}

// False when not one connection could be accepted.
bool LircServer::AcceptWaiting() {
    for (bool accepted = false;; accepted = true) {
        const SocketHandle socket = sockets_.Accept(listener_.Get());
        if (socket == kNoSocket) return accepted;
        Admit(UniqueSocket(sockets_, socket));
    }
}

void LircServer::Admit(UniqueSocket socket) {
    // Without Nagle's delay each line leaves in a segment of its own, at once.
    sockets_.SetNoDelay(socket.Get());
    // A blocking send to a client that stopped reading would hold up the tick.
    if (!sockets_.SetNonBlocking(socket.Get())) return;
    {
        // Over the limit the connection is closed at once, without a word and without an event.
        std::lock_guard lock(listLock_);
        if (clients_.size() >= kMaxClients) return;
    }
    if (!waiter_->Add(socket.Get())) return;
    connections_.push_back(std::make_unique<Connection>(std::move(socket)));
    Connection& connection = *connections_.back();
    // What came before the socket was watched may never be reported (Windows): read at once.
    connection.moreToRead = true;
    std::lock_guard lock(listLock_);
    clients_.push_back(&connection);
    PostEvent(&LircServerEvents::ServerConnect);
}

void LircServer::CloseDropped() {
    std::lock_guard lock(listLock_);
    for (auto it = connections_.begin(); it != connections_.end();) {
        if (!(*it)->dropped) {
            ++it;
            continue;
        }
        waiter_->Remove((*it)->socket.Get());
        it = connections_.erase(it);
    }
}

// Under the list lock; the caller takes the client out of the list.
void LircServer::Drop(Connection& connection) {
    connection.dropped = true;
    PostEvent(&LircServerEvents::ServerDisconnect);
}

// Under the list lock, so that the events keep the order in which the list changed.
void LircServer::PostEvent(void (LircServerEvents::*handler)()) {
    events_.Post([handler](LircServerEvents& events) { (events.*handler)(); });
}

NetworkError LircServer::LastNetworkError() {
    const int code = sockets_.LastError();
    return NetworkError{code, sockets_.ErrorText(code)};
}

}  // namespace quorvel
