#pragma once

#include "platform/Sockets.h"

namespace quorvel {

// Winsock 2. The object holds the process's Winsock start-up for as long as it lives.
class Win32Sockets final : public Sockets {
public:
    Win32Sockets();
    ~Win32Sockets() override;
    Win32Sockets(const Win32Sockets&) = delete;
    Win32Sockets& operator=(const Win32Sockets&) = delete;

    SocketHandle OpenTcp() override;
    bool PrepareListenerAddress(SocketHandle socket) override;
    bool BindLoopback(SocketHandle socket, std::uint16_t port) override;
    bool Listen(SocketHandle socket) override;
    SocketHandle Accept(SocketHandle listener) override;
    bool SetNoDelay(SocketHandle socket) override;
    bool SetNonBlocking(SocketHandle socket) override;
    std::unique_ptr<SocketWaiter> CreateWaiter() override;
    std::size_t Send(SocketHandle socket, std::string_view data) override;
    ReceiveStatus Receive(SocketHandle socket, std::span<char> buffer, std::size_t& received) override;
    void Close(SocketHandle socket) override;
    int LastError() override;
    std::string ErrorText(int error) override;

private:
    bool started_ = false;
};

}  // namespace quorvel
