#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/UniqueHandle.h"

namespace quorvel {

// A socket as the system knows it: a SOCKET on Windows, a file descriptor elsewhere. Both
// systems' invalid value converts to all bits set.
enum class SocketHandle : std::uintptr_t {};
constexpr SocketHandle kNoSocket{~std::uintptr_t{0}};

enum class ReceiveStatus { Data, NothingYet, Ended };

enum class ConnectStatus { Connected, InProgress, Failed };

// An IPv4 or IPv6 address with a port, as a host name resolves to.
struct SocketAddress {
    bool ipv6 = false;
    std::array<std::uint8_t, 16> bytes{};  // network order; the first four for IPv4
    std::uint32_t scopeId = 0;             // IPv6 only
    std::uint16_t port = 0;
};

// Lets one thread sleep until one of its sockets has something to read (data, the end of the
// connection, an error or, for a listener, a connection) or another thread wakes it. Add,
// Remove and Wait belong to the waiting thread; Wake may be called from any thread.
class SocketWaiter {
public:
    virtual ~SocketWaiter() = default;
    // Windows: the socket becomes non-blocking for good.
    virtual bool Add(SocketHandle socket) = 0;
    // A socket before its connect starts: the wait reports it once the connect has ended,
    // either way (see Sockets::ConnectError). Removed and added again to be read.
    virtual bool AddConnecting(SocketHandle socket) = 0;
    // Before the socket is closed.
    virtual void Remove(SocketHandle socket) = 0;
    // Waits for at most timeoutMs (forever when negative) and fills `ready` with the sockets
    // that have something to read; none when woken or timed out. A wake that comes before the
    // wait ends it at once. False when the wait failed.
    // Windows reports what arrives once, and may not report what came before Add: the caller
    // reads a socket until nothing is left, and once right after adding it.
    virtual bool Wait(int timeoutMs, std::vector<SocketHandle>& ready) = 0;
    virtual void Wake() = 0;
};

// TCP sockets, one system call per operation: the listener's IPv4 on the loopback, and
// outgoing connections over IPv4 or IPv6. Every method may be called from any
// thread; a failing call leaves its reason in LastError() of the calling thread.
class Sockets {
public:
    virtual ~Sockets() = default;

    virtual SocketHandle OpenTcp() = 0;
    // Windows: SO_EXCLUSIVEADDRUSE, so no other program can bind over a port we listen on.
    // POSIX: SO_REUSEADDR, which there never shares a port in use; it only lets a listener
    // that was switched off and on bind again while its old connections are in TIME_WAIT.
    virtual bool PrepareListenerAddress(SocketHandle socket) = 0;
    virtual bool BindLoopback(SocketHandle socket, std::uint16_t port) = 0;
    virtual bool Listen(SocketHandle socket) = 0;
    // kNoSocket when no connection is waiting or the accept failed.
    virtual SocketHandle Accept(SocketHandle listener) = 0;
    virtual bool SetNoDelay(SocketHandle socket) = 0;
    virtual bool SetNonBlocking(SocketHandle socket) = 0;
    // Probes a silent connection, so that a peer whose host vanished without closing it is
    // noticed: the first probe after `idle`, the next ones every `interval`, and the system
    // gives up after its count of unanswered probes (10 on Windows Vista and later, 9 on Linux).
    virtual bool SetKeepAlive(SocketHandle socket, std::chrono::seconds idle, std::chrono::seconds interval) = 0;
    // Null when the system lacks the resources.
    virtual std::unique_ptr<SocketWaiter> CreateWaiter() = 0;
    // The number of bytes the system took, 0 when it took none (buffer full or failure).
    virtual std::size_t Send(SocketHandle socket, std::string_view data) = 0;
    // Reads what has arrived into the buffer and sets `received` to its length; Ended when the
    // peer closed or the connection failed.
    virtual ReceiveStatus Receive(SocketHandle socket, std::span<char> buffer, std::size_t& received) = 0;
    virtual void Close(SocketHandle socket) = 0;

    // The addresses of a host name or numeric address, in the system's order of preference;
    // none when it cannot be found, the reason then in `failure`. May take a while.
    virtual std::vector<SocketAddress> Resolve(const std::string& host, std::uint16_t port,
                                               std::string& failure) = 0;
    virtual SocketHandle OpenTcpFor(const SocketAddress& address) = 0;
    // On a non-blocking socket a connect is usually InProgress; its end shows in a waiter.
    virtual ConnectStatus Connect(SocketHandle socket, const SocketAddress& address) = 0;
    // After a connect ended: 0 when connected, otherwise the reason.
    virtual int ConnectError(SocketHandle socket) = 0;

    virtual int LastError() = 0;
    // The system's description of an error code, without a line end; empty when it has none.
    virtual std::string ErrorText(int error) = 0;
};

// Owns one socket and closes it exactly once.
using UniqueSocket = SeamHandle<Sockets, SocketHandle, kNoSocket, &Sockets::Close>;

}  // namespace quorvel
