#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/Sockets_posix.h"

namespace quorvel {

// Real sockets, every call handed on; a fake overrides only the calls it notes or alters.
class PassThroughSockets : public Sockets {
public:
    SocketHandle OpenTcp() override { return real_.OpenTcp(); }
    bool PrepareListenerAddress(SocketHandle socket) override { return real_.PrepareListenerAddress(socket); }
    bool BindLoopback(SocketHandle socket, std::uint16_t port) override { return real_.BindLoopback(socket, port); }
    bool Listen(SocketHandle socket) override { return real_.Listen(socket); }
    SocketHandle Accept(SocketHandle listener) override { return real_.Accept(listener); }
    bool SetNoDelay(SocketHandle socket) override { return real_.SetNoDelay(socket); }
    bool SetKeepAlive(SocketHandle socket, std::chrono::seconds idle, std::chrono::seconds interval) override {
        return real_.SetKeepAlive(socket, idle, interval);
    }
    bool SetNonBlocking(SocketHandle socket) override { return real_.SetNonBlocking(socket); }
    std::unique_ptr<SocketWaiter> CreateWaiter() override { return real_.CreateWaiter(); }
    std::size_t Send(SocketHandle socket, std::string_view data) override { return real_.Send(socket, data); }
    ReceiveStatus Receive(SocketHandle socket, std::span<char> buffer, std::size_t& received) override {
        return real_.Receive(socket, buffer, received);
    }
    void Close(SocketHandle socket) override { real_.Close(socket); }
    std::vector<SocketAddress> Resolve(const std::string& host, std::uint16_t port, std::string& failure) override {
        return real_.Resolve(host, port, failure);
    }
    SocketHandle OpenTcpFor(const SocketAddress& address) override { return real_.OpenTcpFor(address); }
    ConnectStatus Connect(SocketHandle socket, const SocketAddress& address) override {
        return real_.Connect(socket, address);
    }
    int ConnectError(SocketHandle socket) override { return real_.ConnectError(socket); }
    int LastError() override { return real_.LastError(); }
    std::string ErrorText(int error) override { return real_.ErrorText(error); }

protected:
    PosixSockets real_;
};

}  // namespace quorvel
