#include "platform/posix/Sockets_posix.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netdb.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

namespace quorvel {
namespace {

int Fd(SocketHandle socket) { return static_cast<int>(static_cast<std::uintptr_t>(socket)); }

SocketHandle Handle(int fd) { return fd < 0 ? kNoSocket : SocketHandle{static_cast<std::uintptr_t>(fd)}; }

bool SetIntOption(SocketHandle socket, int level, int option, int value = 1) {
    return setsockopt(Fd(socket), level, option, &value, sizeof value) == 0;
}

// poll() over the sockets and the read end of a pipe; a byte written to the pipe wakes it.
class PosixSocketWaiter final : public SocketWaiter {
public:
    PosixSocketWaiter(int wakeRead, int wakeWrite) : entries_{{wakeRead, POLLIN, 0}}, wakeWrite_(wakeWrite) {}
    ~PosixSocketWaiter() override {
        close(entries_.front().fd);
        close(wakeWrite_);
    }
    PosixSocketWaiter(const PosixSocketWaiter&) = delete;
    PosixSocketWaiter& operator=(const PosixSocketWaiter&) = delete;

    bool Add(SocketHandle socket) override {
        entries_.push_back({Fd(socket), POLLIN, 0});
        return true;
    }

    // A connect ends when the socket becomes writable, or with an error.
    bool AddConnecting(SocketHandle socket) override {
        entries_.push_back({Fd(socket), POLLOUT, 0});
        return true;
    }

    void Remove(SocketHandle socket) override {
        std::erase_if(entries_, [fd = Fd(socket)](const pollfd& entry) { return entry.fd == fd; });
    }

    bool Wait(int timeoutMs, std::vector<SocketHandle>& ready) override {
        ready.clear();
        // A signal cuts the wait short, as a wake does.
        if (poll(entries_.data(), entries_.size(), timeoutMs) < 0) return errno == EINTR;
        // Emptied after every wait: whoever woke it changed what the waiting thread looks at
        // after the wait, so no wake is lost.
        char drained[64];
        while (read(entries_.front().fd, drained, sizeof drained) > 0) {
        }
        for (auto entry = entries_.begin() + 1; entry != entries_.end(); ++entry) {
            if (entry->revents != 0) ready.push_back(Handle(entry->fd));
        }
        return true;
    }

    void Wake() override {
        // A full pipe already wakes the waiter.
        const char byte = 0;
        [[maybe_unused]] const ssize_t written = write(wakeWrite_, &byte, 1);
    }

private:
    std::vector<pollfd> entries_;  // the pipe first, then the sockets
    int wakeWrite_;
};

// The native form of an address; its length in `length`.
sockaddr_storage Native(const SocketAddress& address, socklen_t& length) {
    sockaddr_storage native{};
    if (address.ipv6) {
        auto& in6 = reinterpret_cast<sockaddr_in6&>(native);
        in6.sin6_family = AF_INET6;
        in6.sin6_port = htons(address.port);
        in6.sin6_scope_id = address.scopeId;
        std::memcpy(&in6.sin6_addr, address.bytes.data(), 16);
        length = sizeof in6;
    } else {
        auto& in4 = reinterpret_cast<sockaddr_in&>(native);
        in4.sin_family = AF_INET;
        in4.sin_port = htons(address.port);
        std::memcpy(&in4.sin_addr, address.bytes.data(), 4);
        length = sizeof in4;
    }
    return native;
}

}  // namespace

SocketHandle PosixSockets::OpenTcp() { return Handle(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)); }

bool PosixSockets::PrepareListenerAddress(SocketHandle socket) {
    return SetIntOption(socket, SOL_SOCKET, SO_REUSEADDR);
}

bool PosixSockets::BindLoopback(SocketHandle socket, std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return bind(Fd(socket), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

bool PosixSockets::Listen(SocketHandle socket) { return listen(Fd(socket), SOMAXCONN) == 0; }

SocketHandle PosixSockets::Accept(SocketHandle listener) { return Handle(accept(Fd(listener), nullptr, nullptr)); }

bool PosixSockets::SetNoDelay(SocketHandle socket) { return SetIntOption(socket, IPPROTO_TCP, TCP_NODELAY); }

bool PosixSockets::SetKeepAlive(SocketHandle socket, std::chrono::seconds idle, std::chrono::seconds interval) {
    return SetIntOption(socket, SOL_SOCKET, SO_KEEPALIVE) &&
           SetIntOption(socket, IPPROTO_TCP, TCP_KEEPIDLE, static_cast<int>(idle.count())) &&
           SetIntOption(socket, IPPROTO_TCP, TCP_KEEPINTVL, static_cast<int>(interval.count()));
}

bool PosixSockets::SetNonBlocking(SocketHandle socket) {
    const int flags = fcntl(Fd(socket), F_GETFL);
    return flags != -1 && fcntl(Fd(socket), F_SETFL, flags | O_NONBLOCK) == 0;
}

std::unique_ptr<SocketWaiter> PosixSockets::CreateWaiter() {
    int pipe[2];
    if (pipe2(pipe, O_NONBLOCK | O_CLOEXEC) != 0) return nullptr;
    return std::make_unique<PosixSocketWaiter>(pipe[0], pipe[1]);
}

std::size_t PosixSockets::Send(SocketHandle socket, std::string_view data) {
    // A peer that went away must not raise SIGPIPE and end the process.
    const ssize_t sent = send(Fd(socket), data.data(), data.size(), MSG_NOSIGNAL);
    return sent < 0 ? 0 : static_cast<std::size_t>(sent);
}

ReceiveStatus PosixSockets::Receive(SocketHandle socket, std::span<char> buffer, std::size_t& received) {
    const ssize_t result = recv(Fd(socket), buffer.data(), buffer.size(), 0);
    received = result > 0 ? static_cast<std::size_t>(result) : 0;
    if (result > 0) return ReceiveStatus::Data;
    if (result < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return ReceiveStatus::NothingYet;
    return ReceiveStatus::Ended;
}

std::vector<SocketAddress> PosixSockets::Resolve(const std::string& host, std::uint16_t port, std::string& failure) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    addrinfo* found = nullptr;
    const int error = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
    std::vector<SocketAddress> addresses;
    if (error != 0) {
        failure = gai_strerror(error);
        return addresses;
    }
    for (const addrinfo* entry = found; entry; entry = entry->ai_next) {
        SocketAddress address;
        address.port = port;
        if (entry->ai_family == AF_INET6) {
            const auto* in6 = reinterpret_cast<const sockaddr_in6*>(entry->ai_addr);
            address.ipv6 = true;
            address.scopeId = in6->sin6_scope_id;
            std::memcpy(address.bytes.data(), &in6->sin6_addr, 16);
        } else if (entry->ai_family == AF_INET) {
            std::memcpy(address.bytes.data(), &reinterpret_cast<const sockaddr_in*>(entry->ai_addr)->sin_addr, 4);
        } else {
            continue;
        }
        addresses.push_back(address);
    }
    freeaddrinfo(found);
    return addresses;
}

SocketHandle PosixSockets::OpenTcpFor(const SocketAddress& address) {
    return Handle(socket(address.ipv6 ? AF_INET6 : AF_INET, SOCK_STREAM, IPPROTO_TCP));
}

ConnectStatus PosixSockets::Connect(SocketHandle socket, const SocketAddress& address) {
    socklen_t length = 0;
    const sockaddr_storage native = Native(address, length);
    if (connect(Fd(socket), reinterpret_cast<const sockaddr*>(&native), length) == 0) return ConnectStatus::Connected;
    return errno == EINPROGRESS ? ConnectStatus::InProgress : ConnectStatus::Failed;
}

int PosixSockets::ConnectError(SocketHandle socket) {
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(Fd(socket), SOL_SOCKET, SO_ERROR, &error, &length) != 0) return errno;
    return error;
}

void PosixSockets::Close(SocketHandle socket) { close(Fd(socket)); }

int PosixSockets::LastError() { return errno; }

std::string PosixSockets::ErrorText(int error) { return std::system_category().message(error); }

}  // namespace quorvel
