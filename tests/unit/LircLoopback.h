#pragma once

// Real loopback peers for the WinLIRC server's tests and benchmarks.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "fakes/PassThroughSockets.h"

namespace quorvel {

inline sockaddr_in LoopbackAddress(std::uint16_t port, std::uint32_t host = INADDR_LOOPBACK) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(host);
    address.sin_port = htons(port);
    return address;
}

// A port nobody listens on right now, as the system picks one.
inline std::uint16_t FreeLoopbackPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = LoopbackAddress(0);
    socklen_t length = sizeof address;
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

// Polls the condition; false when it still fails after the limit, which only guards
// against hanging.
inline bool WaitUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// One WinLIRC client: a blocking TCP connection to the server.
class LoopbackClient {
public:
    // receiveBuffer > 0 shrinks the client's receive buffer before it connects.
    explicit LoopbackClient(std::uint16_t port, int receiveBuffer = 0, std::uint32_t host = INADDR_LOOPBACK)
        : fd_(socket(AF_INET, SOCK_STREAM, 0)) {
        if (receiveBuffer > 0) setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
        const sockaddr_in address = LoopbackAddress(port, host);
        connected_ = connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    }
    ~LoopbackClient() { Close(); }
    LoopbackClient(const LoopbackClient&) = delete;
    LoopbackClient& operator=(const LoopbackClient&) = delete;

    bool Connected() const { return connected_; }

    void Send(std::string_view text) { send(fd_, text.data(), text.size(), MSG_NOSIGNAL); }

    // What one receive returns; empty when nothing came within the limit or the connection ended.
    std::string ReceiveOnce(std::chrono::milliseconds limit = std::chrono::seconds(10)) {
        if (!Readable(limit)) return {};
        char buffer[65536];
        const ssize_t received = recv(fd_, buffer, sizeof buffer, 0);
        return received > 0 ? std::string(buffer, static_cast<std::size_t>(received)) : std::string();
    }

    // Everything until `size` bytes have come, the connection ended or the limit passed.
    std::string ReceiveUpTo(std::size_t size, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        std::string received;
        while (received.size() < size) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            const std::string chunk = ReceiveOnce(std::max(left, std::chrono::milliseconds(0)));
            if (chunk.empty()) break;
            received += chunk;
        }
        return received;
    }

    // True when the server ended the connection within the limit without sending anything.
    bool EndsWithoutData(std::chrono::milliseconds limit = std::chrono::seconds(10)) {
        if (!Readable(limit)) return false;
        char byte;
        return recv(fd_, &byte, 1, 0) <= 0;
    }

    // True when nothing at all arrives within the limit and the connection stays open.
    bool StaysSilent(std::chrono::milliseconds limit) { return !Readable(limit); }

    void Close() {
        if (fd_ >= 0) close(fd_);
        fd_ = -1;
    }

private:
    bool Readable(std::chrono::milliseconds limit) {
        pollfd entry{fd_, POLLIN, 0};
        return poll(&entry, 1, static_cast<int>(limit.count())) > 0;
    }

    int fd_;
    bool connected_ = false;
};

// How the server waited: the timeout of its latest wait, and the sockets it took out.
struct WaitRecord {
    std::atomic<int> lastTimeoutMs{0};
    std::atomic<int> removes{0};
};

// A real waiter that records how it is used.
class RecordingWaiter final : public SocketWaiter {
public:
    RecordingWaiter(std::unique_ptr<SocketWaiter> real, WaitRecord& record) : real_(std::move(real)), record_(record) {}
    bool Add(SocketHandle socket) override { return real_->Add(socket); }
    bool AddConnecting(SocketHandle socket) override { return real_->AddConnecting(socket); }
    void Remove(SocketHandle socket) override {
        ++record_.removes;
        real_->Remove(socket);
    }
    bool Wait(int timeoutMs, std::vector<SocketHandle>& ready) override {
        record_.lastTimeoutMs = timeoutMs;
        return real_->Wait(timeoutMs, ready);
    }
    void Wake() override { real_->Wake(); }

private:
    std::unique_ptr<SocketWaiter> real_;
    WaitRecord& record_;
};

// Real sockets with a record of what the server asked of them, and failures on demand.
class RecordingSockets final : public PassThroughSockets {
public:
    struct Sent {
        SocketHandle socket;
        std::string data;
    };
    std::optional<int> bindFailure;     // BindLoopback fails with this error
    std::string errorText = "unset";  // ErrorText's answer while bindFailure is set
    std::atomic<bool> acceptFails{false};  // Accept leaves the connection waiting and fails

    int AcceptCalls() { return acceptCalls_; }
    const WaitRecord& Waiting() const { return waiting_; }

    std::vector<SocketHandle> Accepted() { return Locked(accepted_); }
    std::vector<SocketHandle> NoDelay() { return Locked(noDelay_); }
    std::vector<SocketHandle> NonBlocking() { return Locked(nonBlocking_); }
    std::vector<Sent> Sends() { return Locked(sends_); }
    std::vector<SocketHandle> Closed() { return Locked(closed_); }

    bool BindLoopback(SocketHandle socket, std::uint16_t port) override {
        if (bindFailure) {
            lastError_ = *bindFailure;
            return false;
        }
        return real_.BindLoopback(socket, port);
    }
    SocketHandle Accept(SocketHandle listener) override {
        ++acceptCalls_;
        if (acceptFails) return kNoSocket;
        const SocketHandle socket = real_.Accept(listener);
        if (socket != kNoSocket) Record(accepted_, socket);
        return socket;
    }
    bool SetNoDelay(SocketHandle socket) override {
        Record(noDelay_, socket);
        return real_.SetNoDelay(socket);
    }
    bool SetNonBlocking(SocketHandle socket) override {
        Record(nonBlocking_, socket);
        return real_.SetNonBlocking(socket);
    }
    std::unique_ptr<SocketWaiter> CreateWaiter() override {
        return std::make_unique<RecordingWaiter>(real_.CreateWaiter(), waiting_);
    }
    std::size_t Send(SocketHandle socket, std::string_view data) override {
        Record(sends_, Sent{socket, std::string(data)});
        return real_.Send(socket, data);
    }
    void Close(SocketHandle socket) override {
        Record(closed_, socket);
        real_.Close(socket);
    }
    int LastError() override { return bindFailure ? lastError_ : real_.LastError(); }
    std::string ErrorText(int error) override { return bindFailure ? errorText : real_.ErrorText(error); }

private:
    template <typename T>
    void Record(std::vector<T>& list, T value) {
        std::lock_guard lock(mutex_);
        list.push_back(std::move(value));
    }
    template <typename T>
    std::vector<T> Locked(const std::vector<T>& list) {
        std::lock_guard lock(mutex_);
        return list;
    }

    std::mutex mutex_;
    std::vector<SocketHandle> accepted_, noDelay_, nonBlocking_, closed_;
    std::vector<Sent> sends_;
    int lastError_ = 0;
    std::atomic<int> acceptCalls_{0};
    WaitRecord waiting_;
};

}  // namespace quorvel
