#pragma once

#include "platform/Sockets.h"
#include "platform/StdCall.h"

struct addrinfo;

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

private:
    using GetAddrInfoFunction = int(QUORVEL_WINAPI*)(const char*, const char*, const addrinfo*, addrinfo**);
    using FreeAddrInfoFunction = void(QUORVEL_WINAPI*)(addrinfo*);

    bool started_ = false;
    // Null on Windows 2000, whose ws2_32 lacks them.
    GetAddrInfoFunction getAddrInfo_ = nullptr;
    FreeAddrInfoFunction freeAddrInfo_ = nullptr;
};

}  // namespace quorvel
