#include "receivers/NetworkReceiver.h"

#include <algorithm>
#include <array>
#include <system_error>
#include <vector>

#include "platform/ThreadPriority.h"
#include "receivers/BroadcastLine.h"

namespace quorvel {
namespace {

using std::chrono::milliseconds;

// A wait that fails returns at once; the thread then pauses this long instead of spinning.
constexpr milliseconds kFailedWaitPause{50};

bool Contains(const std::vector<SocketHandle>& sockets, SocketHandle socket) {
    return std::find(sockets.begin(), sockets.end(), socket) != sockets.end();
}

// Takes the socket out of the waiter before its owner, declared earlier, closes it.
class Watched {
public:
    Watched(SocketWaiter& waiter, SocketHandle socket) : waiter_(waiter), socket_(socket) {}
    ~Watched() { waiter_.Remove(socket_); }
    Watched(const Watched&) = delete;
    Watched& operator=(const Watched&) = delete;

private:
    SocketWaiter& waiter_;
    SocketHandle socket_;
};

int WaitMs(milliseconds length) {
    return static_cast<int>(std::clamp<milliseconds::rep>(length.count(), 0, 0x7FFFFFFF));
}

}  // namespace

milliseconds RetryDelay(int failures, const NetworkTimings& timings) {
    milliseconds delay = timings.firstRetry;
    for (int i = 0; i < failures && delay < timings.longestRetry; ++i) delay *= 2;
    return std::min(delay, timings.longestRetry);
}

NetworkReceiver::NetworkReceiver(Sockets& sockets, MainThread& mainThread, NetworkReceiverEvents& events,
                                 ServerAddress server, NetworkTimings timings)
    : sockets_(sockets),
      events_(mainThread, events),
      server_(std::move(server)),
      timings_(timings) {}

NetworkReceiver::~NetworkReceiver() { Stop(); }

bool NetworkReceiver::Start() {
    if (thread_.joinable()) return true;
    waiter_ = sockets_.CreateWaiter();
    if (!waiter_) return false;
    stopRequested_ = false;
    try {
        thread_ = std::thread(&NetworkReceiver::Run, this);
    } catch (const std::system_error&) {
        waiter_.reset();
        return false;
    }
    return true;
}

void NetworkReceiver::Stop() {
    events_.Close();
    if (!thread_.joinable()) return;
    stopRequested_ = true;
    waiter_->Wake();
    // The network thread never waits for the main thread: this returns as soon as it notices.
    thread_.join();
    waiter_.reset();
    std::lock_guard lock(trackerLock_);
    tracker_.EndHold();
}

std::optional<HeldButton> NetworkReceiver::Sample() {
    std::lock_guard lock(trackerLock_);
    return tracker_.Sample(Now());
}

void NetworkReceiver::Run() {
    LowerCurrentThread();
    int failures = 0;
    // An outage is reported once, not at every retry: as the lost connection, or as the first
    // failed attempt when there was none yet.
    bool outageReported = false;
    while (!stopRequested_) {
        if (Attempt(outageReported)) {
            failures = 0;
            outageReported = true;
        }
        if (stopRequested_ || !Pause(RetryDelay(failures, timings_))) return;
        failures = std::min(failures + 1, 30);
    }
}

bool NetworkReceiver::Attempt(bool& outageReported) {
    const auto unreachable = [&](std::string why) {
        if (!outageReported && !stopRequested_) Post(ConnectionEvent::Unreachable, std::move(why));
        outageReported = true;
        return false;
    };
    std::string failure;
    std::vector<SocketAddress> addresses = sockets_.Resolve(server_.host, server_.port, failure);
    if (addresses.empty()) return unreachable("host not found" + (failure.empty() ? "" : ": " + failure));
    // Connected to its own server on the loopback, the program would take back every line it
    // sends and press the button again, without end.
    const std::uint16_t ownPort = ownServerPort_;
    std::erase_if(addresses, [ownPort](const SocketAddress& address) {
        return ownPort != 0 && address.port == ownPort && IsLoopback(address);
    });
    if (addresses.empty()) return unreachable("that is this program's own WinLIRC server");
    for (const SocketAddress& address : addresses) {
        UniqueSocket connection = ConnectTo(address, failure);
        if (stopRequested_) return false;
        if (connection) {
            Serve(std::move(connection));
            return true;
        }
    }
    return unreachable(failure);
}

UniqueSocket NetworkReceiver::ConnectTo(const SocketAddress& address, std::string& failure) {
    const auto failed = [&](int error) {
        const std::string text = sockets_.ErrorText(error);
        failure = text.empty() ? "network error " + std::to_string(error) : text;
        return UniqueSocket();
    };
    UniqueSocket connection(sockets_, sockets_.OpenTcpFor(address));
    if (!connection) return failed(sockets_.LastError());
    if (!sockets_.SetNonBlocking(connection.Get()) || !waiter_->AddConnecting(connection.Get())) {
        return failed(sockets_.LastError());
    }
    const Watched watched(*waiter_, connection.Get());
    const ConnectStatus status = sockets_.Connect(connection.Get(), address);
    if (status == ConnectStatus::Failed) return failed(sockets_.LastError());
    if (status == ConnectStatus::InProgress) {
        // A host that does not answer at all would keep a connect waiting for minutes.
        const auto deadline = std::chrono::steady_clock::now() + timings_.connectTimeout;
        std::vector<SocketHandle> ready;
        while (!Contains(ready, connection.Get())) {
            const auto left = std::chrono::duration_cast<milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left <= milliseconds(0)) {
                failure = "no answer";
                return UniqueSocket();
            }
            if (!waiter_->Wait(WaitMs(left), ready) || stopRequested_) return UniqueSocket();
        }
        if (const int error = sockets_.ConnectError(connection.Get()); error != 0) return failed(error);
    }
    // A server whose host vanished leaves the connection silent and open for good; the probes
    // end it, so that it is retried. A system that refuses them costs only that.
    sockets_.SetKeepAlive(connection.Get(), timings_.keepAliveIdle, timings_.keepAliveInterval);
    return connection;
}

void NetworkReceiver::Serve(UniqueSocket connection) {
    if (!waiter_->Add(connection.Get())) return;
    const Watched watched(*waiter_, connection.Get());
    Post(ConnectionEvent::Connected);
    BroadcastReader reader;
    std::array<char, 4096> buffer;
    std::vector<SocketHandle> ready;
    // Read at once: what came before the socket was watched may never be reported (Windows).
    for (;;) {
        for (;;) {
            if (stopRequested_) return;
            std::size_t received = 0;
            const ReceiveStatus status = sockets_.Receive(connection.Get(), buffer, received);
            if (status == ReceiveStatus::NothingYet) break;
            if (status == ReceiveStatus::Ended) {
                {
                    std::lock_guard lock(trackerLock_);
                    tracker_.EndHold();
                }
                Post(ConnectionEvent::Lost);
                return;
            }
            const HoldTracker::Millis now = Now();
            std::lock_guard lock(trackerLock_);
            reader.Feed(std::string_view(buffer.data(), received),
                        [&](const BroadcastLine& event) { tracker_.OnEvent(event, now); });
        }
        if (!waiter_->Wait(-1, ready)) std::this_thread::sleep_for(kFailedWaitPause);
    }
}

bool NetworkReceiver::Pause(milliseconds length) {
    const auto end = std::chrono::steady_clock::now() + length;
    std::vector<SocketHandle> ready;
    for (;;) {
        if (stopRequested_) return false;
        const auto left = std::chrono::duration_cast<milliseconds>(end - std::chrono::steady_clock::now());
        if (left <= milliseconds(0)) return true;
        if (!waiter_->Wait(WaitMs(left), ready)) std::this_thread::sleep_for(std::min(left, kFailedWaitPause));
    }
}

void NetworkReceiver::Post(ConnectionEvent event, std::string detail) {
    events_.Post([event, detail = std::move(detail)](NetworkReceiverEvents& events) {
        events.ConnectionChanged(event, detail);
    });
}

HoldTracker::Millis NetworkReceiver::Now() {
    return std::chrono::duration_cast<HoldTracker::Millis>(std::chrono::steady_clock::now().time_since_epoch());
}

}  // namespace quorvel
