#include "ControlSender.h"

#include <winsock2.h>

namespace quorvel::sim {

namespace {

constexpr DWORD kReplyTimeoutMs = 2000;

class Connection {
public:
    Connection() : socket(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)) {}
    ~Connection() {
        if (socket != INVALID_SOCKET) {
            closesocket(socket);
        }
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool Open(std::uint16_t port) {
        if (socket == INVALID_SOCKET) {
            return false;
        }
        setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&kReplyTimeoutMs),
                   sizeof kReplyTimeoutMs);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    }

    bool SendLine(const std::string& line) {
        const std::string text = line + "\n";
        return send(socket, text.data(), static_cast<int>(text.size()), 0) == static_cast<int>(text.size());
    }

    // The reply up to its line break; empty when none came.
    std::string ReadLine() {
        std::string reply;
        char c = 0;
        while (recv(socket, &c, 1, 0) == 1 && c != '\n') {
            reply += c;
        }
        return reply;
    }

private:
    SOCKET socket;
};

}  // namespace

ControlSender::ControlSender(std::uint16_t controlPort, std::function<void()> notifyWindow)
    : port(controlPort), notify(std::move(notifyWindow)), worker([this] { Run(); }) {}

ControlSender::~ControlSender() {
    {
        std::lock_guard lock(mutex);
        stopping = true;
    }
    wake.notify_one();
    worker.join();
}

void ControlSender::Send(const std::string& command) {
    {
        std::lock_guard lock(mutex);
        pending.push_back(command);
    }
    wake.notify_one();
}

std::string ControlSender::Status() const {
    std::lock_guard lock(mutex);
    return status;
}

void ControlSender::Run() {
    WSADATA data;
    const bool sockets = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    while (true) {
        std::string command;
        {
            std::unique_lock lock(mutex);
            wake.wait(lock, [this] { return stopping || !pending.empty(); });
            // Commands already asked for still go out, so a held button is released.
            if (pending.empty()) {
                break;
            }
            command = pending.front();
            pending.pop_front();
        }
        const std::string result = sockets ? Exchange(command) : "Windows Sockets unavailable";
        {
            std::lock_guard lock(mutex);
            status = result;
        }
        notify();
    }
    if (sockets) {
        WSACleanup();
    }
}

std::string ControlSender::Exchange(const std::string& command) const {
    const std::string where = "port " + std::to_string(port) + ": ";
    Connection connection;
    if (!connection.Open(port)) {
        return where + "not listening (start the program that loads the library)";
    }
    if (!connection.SendLine(command)) {
        return where + "connection lost";
    }
    const std::string reply = connection.ReadLine();
    return where + command + " -> " + (reply.empty() ? "no reply" : reply);
}

}  // namespace quorvel::sim
