#include "ControlServer.h"

#include <winsock2.h>

#include <algorithm>
#include <vector>
#include <thread>

#include "platform/UniqueHandle.h"

namespace quorvel::sim {

namespace {

constexpr std::size_t kMaxLineLength = 4096;
// select() watches at most FD_SETSIZE sockets, the listener among them; further clients wait
// in the listen queue until one leaves.
constexpr std::size_t kMaxClients = FD_SETSIZE - 1;

struct SocketTraits {
    using Handle = SOCKET;
    static Handle Invalid() { return INVALID_SOCKET; }
    static void Close(Handle socket) { closesocket(socket); }
};
using UniqueSocket = UniqueHandle<SocketTraits>;

struct Client {
    UniqueSocket socket;
    std::string received;  // what follows the last complete line
    std::string unsent;    // replies the client has not taken yet
    bool reading = true;   // false once it has closed its side or sent a line too long
    bool failed = false;

    bool Done() const { return failed || (!reading && unsent.empty()); }
};

bool WouldBlock() { return WSAGetLastError() == WSAEWOULDBLOCK; }

bool MakeNonBlocking(SOCKET socket) {
    u_long on = 1;
    return ioctlsocket(socket, FIONBIO, &on) == 0;
}

void Flush(Client& client) {
    while (!client.unsent.empty()) {
        const int sent = send(client.socket.Get(), client.unsent.data(), static_cast<int>(client.unsent.size()), 0);
        if (sent <= 0) {
            client.failed = !WouldBlock();
            return;
        }
        client.unsent.erase(0, static_cast<std::size_t>(sent));
    }
}

// Every complete line is answered in the order it came; a client that closes its side after
// its last line still gets the replies.
void Receive(Client& client, const ControlHandler& handler) {
    char buffer[512];
    const int received = recv(client.socket.Get(), buffer, sizeof buffer, 0);
    if (received < 0) {
        client.failed = !WouldBlock();
        return;
    }
    if (received == 0) {
        client.reading = false;
        return;
    }
    client.received.append(buffer, static_cast<std::size_t>(received));
    for (std::size_t end; (end = client.received.find('\n')) != std::string::npos;) {
        std::string line = client.received.substr(0, end);
        client.received.erase(0, end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        client.unsent += handler(line) + "\n";
    }
    if (client.received.size() > kMaxLineLength) {
        client.unsent += "error line too long\n";
        client.reading = false;
    }
}

// A client that gave up before it was taken, or a moment short of resources, must not end the
// channel for the clients after it; any other failure of the listener does.
bool Accept(SOCKET listener, std::vector<Client>& clients) {
    UniqueSocket connection(accept(listener, nullptr, nullptr));
    if (!connection) {
        const int error = WSAGetLastError();
        if (error == WSAEMFILE || error == WSAENOBUFS) {
            Sleep(10);
        }
        return error == WSAEWOULDBLOCK || error == WSAECONNRESET || error == WSAEINTR || error == WSAEMFILE ||
               error == WSAENOBUFS;
    }
    if (MakeNonBlocking(connection.Get())) {
        clients.emplace_back().socket = std::move(connection);
    }
    return true;
}

// One thread serves the listener and every client, none blocking it. A detached std::thread
// made per connection now and then never ran under Wine when it was made as the previous one
// ended, and that client waited for a reply that never came.
void Serve(UniqueSocket listener, const ControlHandler& handler) {
    std::vector<Client> clients;
    while (true) {
        fd_set readable;
        fd_set writable;
        FD_ZERO(&readable);
        FD_ZERO(&writable);
        if (clients.size() < kMaxClients) {
            FD_SET(listener.Get(), &readable);
        }
        // A client's further lines wait until it has taken the replies to its earlier ones, so
        // one that sends without reading cannot make the replies pile up.
        for (const Client& client : clients) {
            if (client.reading && client.unsent.empty()) {
                FD_SET(client.socket.Get(), &readable);
            }
            if (!client.unsent.empty()) {
                FD_SET(client.socket.Get(), &writable);
            }
        }
        if (select(0, &readable, &writable, nullptr, nullptr) == SOCKET_ERROR) {
            if (WSAGetLastError() == WSAEINTR) {
                continue;
            }
            return;
        }
        for (Client& client : clients) {
            if (FD_ISSET(client.socket.Get(), &readable)) {
                Receive(client, handler);
            }
            Flush(client);
        }
        std::erase_if(clients, [](const Client& client) { return client.Done(); });
        if (FD_ISSET(listener.Get(), &readable) && !Accept(listener.Get(), clients)) {
            return;
        }
    }
}

}  // namespace

bool StartControlServer(std::uint16_t port, ControlHandler handler) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        return false;
    }
    UniqueSocket listener(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (!listener) {
        return false;
    }
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(listener.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener.Get(), SOMAXCONN) != 0 || !MakeNonBlocking(listener.Get())) {
        return false;
    }
    std::thread(Serve, std::move(listener), std::move(handler)).detach();
    return true;
}

}  // namespace quorvel::sim
