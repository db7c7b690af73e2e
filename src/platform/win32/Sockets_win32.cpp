#include "platform/win32/Sockets_win32.h"

#include <winsock2.h>
#include <ws2tcpip.h>

namespace quorvel {
namespace {

SOCKET Native(SocketHandle socket) { return static_cast<SOCKET>(socket); }

SocketHandle Handle(SOCKET socket) {
    return socket == INVALID_SOCKET ? kNoSocket : SocketHandle{static_cast<std::uintptr_t>(socket)};
}

bool SetBoolOption(SocketHandle socket, int level, int option) {
    const BOOL on = TRUE;
    return setsockopt(Native(socket), level, option, reinterpret_cast<const char*>(&on), sizeof on) == 0;
}

}  // namespace

Win32Sockets::Win32Sockets() {
    WSADATA data;
    // Without it every call below fails with WSANOTINITIALISED, which the caller then reports.
    started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

Win32Sockets::~Win32Sockets() {
    if (started_) WSACleanup();
}

SocketHandle Win32Sockets::OpenTcp() { return Handle(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)); }

bool Win32Sockets::PrepareListenerAddress(SocketHandle socket) {
    return SetBoolOption(socket, SOL_SOCKET, SO_EXCLUSIVEADDRUSE);
}

bool Win32Sockets::BindLoopback(SocketHandle socket, std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return bind(Native(socket), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

bool Win32Sockets::Listen(SocketHandle socket) { return listen(Native(socket), SOMAXCONN) == 0; }

SocketHandle Win32Sockets::Accept(SocketHandle listener) { return Handle(accept(Native(listener), nullptr, nullptr)); }

bool Win32Sockets::SetNoDelay(SocketHandle socket) { return SetBoolOption(socket, IPPROTO_TCP, TCP_NODELAY); }

bool Win32Sockets::SetNonBlocking(SocketHandle socket) {
    u_long on = 1;
    return ioctlsocket(Native(socket), FIONBIO, &on) == 0;
}

Readiness Win32Sockets::WaitReadable(SocketHandle socket, int timeoutMs) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(Native(socket), &readable);
    timeval timeout{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    const int result = select(0, &readable, nullptr, nullptr, &timeout);
    if (result > 0) return Readiness::Ready;
    return result == 0 ? Readiness::TimedOut : Readiness::Failed;
}

std::size_t Win32Sockets::Send(SocketHandle socket, std::string_view data) {
    const int sent = send(Native(socket), data.data(), static_cast<int>(data.size()), 0);
    return sent == SOCKET_ERROR ? 0 : static_cast<std::size_t>(sent);
}

ReceiveStatus Win32Sockets::Receive(SocketHandle socket, std::span<char> buffer) {
    const int received = recv(Native(socket), buffer.data(), static_cast<int>(buffer.size()), 0);
    if (received > 0) return ReceiveStatus::Data;
    if (received == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) return ReceiveStatus::NothingYet;
    return ReceiveStatus::Ended;
}

void Win32Sockets::ShutdownBoth(SocketHandle socket) { shutdown(Native(socket), SD_BOTH); }

void Win32Sockets::Close(SocketHandle socket) { closesocket(Native(socket)); }

int Win32Sockets::LastError() { return WSAGetLastError(); }

std::string Win32Sockets::ErrorText(int error) {
    char text[512];
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                        static_cast<DWORD>(error), 0, text, sizeof text, nullptr);
    return std::string(text, length);
}

}  // namespace quorvel
