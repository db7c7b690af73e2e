#pragma once

#include "platform/Sockets.h"

namespace quorvel {

// BSD sockets, so that the server and the network receiver run against real connections in
// native tests.
class PosixSockets final : public Sockets {
public:
    SocketHandle OpenTcp() override;
    bool PrepareListenerAddress(SocketHandle socket) override;
    bool BindLoopback(SocketHandle socket, std::uint16_t port) override;
    bool Listen(SocketHandle socket) override;
    SocketHandle Accept(SocketHandle listener) override;
    bool SetNoDelay(SocketHandle socket) override;
    bool SetKeepAlive(SocketHandle socket, std::chrono::seconds idle, std::chrono::seconds interval) override;
    bool SetNonBlocking(SocketHandle socket) override;
    std::unique_ptr<SocketWaiter> CreateWaiter() override;
    std::size_t Send(SocketHandle socket, std::string_view data) override;
    ReceiveStatus Receive(SocketHandle socket, std::span<char> buffer, std::size_t& received) override;
    void Close(SocketHandle socket) override;
    std::vector<SocketAddress> Resolve(const std::string& host, std::uint16_t port, std::string& failure) override;
    SocketHandle OpenTcpFor(const SocketAddress& address) override;
    ConnectStatus Connect(SocketHandle socket, const SocketAddress& address) override;
    int ConnectError(SocketHandle socket) override;
    int LastError() override;
    std::string ErrorText(int error) override;
};

}  // namespace quorvel
