#include "ControlServer.h"

#include <winsock2.h>

#include <memory>
#include <thread>

namespace quorvel::sim {

namespace {

constexpr std::size_t kMaxLineLength = 4096;

bool SendAll(SOCKET connection, const std::string& text) {
    std::size_t sent = 0;
    while (sent < text.size()) {
        const int result = send(connection, text.data() + sent, static_cast<int>(text.size() - sent), 0);
        if (result <= 0) {
            return false;
        }
        sent += static_cast<std::size_t>(result);
    }
    return true;
}

void ServeConnection(SOCKET connection, std::shared_ptr<const ControlHandler> handler) {
    std::string pending;
    char buffer[512];
    bool open = true;
    while (open) {
        const int received = recv(connection, buffer, sizeof buffer, 0);
        if (received <= 0) {
            break;
        }
        pending.append(buffer, static_cast<std::size_t>(received));
        for (std::size_t end; open && (end = pending.find('\n')) != std::string::npos;) {
            std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            open = SendAll(connection, (*handler)(line) + "\n");
        }
        if (pending.size() > kMaxLineLength) {
            SendAll(connection, "error line too long\n");
            break;
        }
    }
    closesocket(connection);
}

void AcceptConnections(SOCKET listener, std::shared_ptr<const ControlHandler> handler) {
    while (true) {
        const SOCKET connection = accept(listener, nullptr, nullptr);
        if (connection == INVALID_SOCKET) {
            // A client that gave up before it was taken, or a moment short of resources, must
            // not end the channel for the clients after it.
            const int error = WSAGetLastError();
            if (error == WSAEINTR || error == WSAECONNRESET) {
                continue;
            }
            if (error == WSAEMFILE || error == WSAENOBUFS) {
                Sleep(10);
                continue;
            }
            closesocket(listener);
            return;
        }
        std::thread(ServeConnection, connection, handler).detach();
    }
}

}  // namespace

bool StartControlServer(std::uint16_t port, ControlHandler handler) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        return false;
    }
    const SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener == INVALID_SOCKET) {
        return false;
    }
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener, SOMAXCONN) != 0) {
        closesocket(listener);
        return false;
    }
    std::thread(AcceptConnections, listener, std::make_shared<const ControlHandler>(std::move(handler))).detach();
    return true;
}

}  // namespace quorvel::sim
