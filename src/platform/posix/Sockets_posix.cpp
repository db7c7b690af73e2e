#include "platform/posix/Sockets_posix.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace quorvel {
namespace {

int Fd(SocketHandle socket) { return static_cast<int>(static_cast<std::uintptr_t>(socket)); }

SocketHandle Handle(int fd) { return fd < 0 ? kNoSocket : SocketHandle{static_cast<std::uintptr_t>(fd)}; }

bool SetIntOption(SocketHandle socket, int level, int option) {
    const int on = 1;
    return setsockopt(Fd(socket), level, option, &on, sizeof on) == 0;
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

bool PosixSockets::SetNonBlocking(SocketHandle socket) {
    const int flags = fcntl(Fd(socket), F_GETFL);
    return flags != -1 && fcntl(Fd(socket), F_SETFL, flags | O_NONBLOCK) == 0;
}

Readiness PosixSockets::WaitReadable(SocketHandle socket, int timeoutMs) {
    pollfd entry{Fd(socket), POLLIN, 0};
    const int result = poll(&entry, 1, timeoutMs);
    if (result > 0) return Readiness::Ready;
    // A signal cuts the wait short; the caller waits again.
    if (result == 0 || errno == EINTR) return Readiness::TimedOut;
    return Readiness::Failed;
}

std::size_t PosixSockets::Send(SocketHandle socket, std::string_view data) {
    // A peer that went away must not raise SIGPIPE and end the process.
    const ssize_t sent = send(Fd(socket), data.data(), data.size(), MSG_NOSIGNAL);
    return sent < 0 ? 0 : static_cast<std::size_t>(sent);
}

ReceiveStatus PosixSockets::Receive(SocketHandle socket, std::span<char> buffer) {
    const ssize_t received = recv(Fd(socket), buffer.data(), buffer.size(), 0);
    if (received > 0) return ReceiveStatus::Data;
    if (received < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return ReceiveStatus::NothingYet;
    return ReceiveStatus::Ended;
}

void PosixSockets::ShutdownBoth(SocketHandle socket) { shutdown(Fd(socket), SHUT_RDWR); }

void PosixSockets::Close(SocketHandle socket) { close(Fd(socket)); }

int PosixSockets::LastError() { return errno; }

std::string PosixSockets::ErrorText(int error) { return std::system_category().message(error); }

}  // namespace quorvel
