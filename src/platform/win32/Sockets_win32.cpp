#include "platform/win32/Sockets_win32.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <mstcpip.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "platform/UniqueHandle.h"
#include "platform/win32/FileLog_win32.h"

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

struct WsaEventTraits {
    using Handle = WSAEVENT;
    static Handle Invalid() { return WSA_INVALID_EVENT; }
    static void Close(Handle event) { WSACloseEvent(event); }
};
using UniqueWsaEvent = UniqueHandle<WsaEventTraits>;

// One event per socket (WSAEventSelect) and one for wake-ups, waited on together. Windows XP
// has no WSAPoll.
class Win32SocketWaiter final : public SocketWaiter {
public:
    explicit Win32SocketWaiter(UniqueWsaEvent wake) : wake_(std::move(wake)) {}

    bool Add(SocketHandle socket) override { return Watch(socket, FD_ACCEPT | FD_READ | FD_CLOSE); }

    bool AddConnecting(SocketHandle socket) override { return Watch(socket, FD_CONNECT | FD_CLOSE); }

    void Remove(SocketHandle socket) override {
        WSAEventSelect(Native(socket), nullptr, 0);
        std::erase_if(watched_, [socket](const Watched& watched) { return watched.socket == socket; });
    }

    bool Wait(int timeoutMs, std::vector<SocketHandle>& ready) override {
        ready.clear();
        std::array<WSAEVENT, WSA_MAXIMUM_WAIT_EVENTS> events{wake_.Get()};
        for (std::size_t i = 0; i < watched_.size(); ++i) events[i + 1] = watched_[i].event.Get();
        const DWORD count = static_cast<DWORD>(watched_.size() + 1);
        const DWORD timeout = timeoutMs < 0 ? WSA_INFINITE : static_cast<DWORD>(timeoutMs);
        if (WSAWaitForMultipleEvents(count, events.data(), FALSE, timeout, FALSE) == WSA_WAIT_FAILED) return false;
        // Reset after every wait: whoever woke it changed what the waiting thread looks at after
        // the wait, so no wake is lost.
        WSAResetEvent(wake_.Get());
        for (const Watched& watched : watched_) {
            // Takes the socket's events and resets its event. A socket whose events cannot be
            // read is reported, so that the caller's read meets the failure.
            WSANETWORKEVENTS happened{};
            if (WSAEnumNetworkEvents(Native(watched.socket), watched.event.Get(), &happened) != 0 ||
                happened.lNetworkEvents != 0) {
                ready.push_back(watched.socket);
            }
        }
        return true;
    }

    void Wake() override { WSASetEvent(wake_.Get()); }

private:
    bool Watch(SocketHandle socket, long events) {
        // The wake event takes one of the places a wait has.
        if (watched_.size() + 1 >= WSA_MAXIMUM_WAIT_EVENTS) {
            WSASetLastError(WSAEMFILE);
            return false;
        }
        UniqueWsaEvent event(WSACreateEvent());
        if (!event || WSAEventSelect(Native(socket), event.Get(), events) != 0) return false;
        watched_.push_back({socket, std::move(event)});
        return true;
    }

    struct Watched {
        SocketHandle socket;
        UniqueWsaEvent event;
    };

    UniqueWsaEvent wake_;
    std::vector<Watched> watched_;
};

SocketAddress FromNative(const sockaddr* native, std::uint16_t port) {
    SocketAddress address;
    address.port = port;
    if (native->sa_family == AF_INET6) {
        const auto* in6 = reinterpret_cast<const sockaddr_in6*>(native);
        address.ipv6 = true;
        address.scopeId = in6->sin6_scope_id;
        std::memcpy(address.bytes.data(), &in6->sin6_addr, 16);
    } else {
        std::memcpy(address.bytes.data(), &reinterpret_cast<const sockaddr_in*>(native)->sin_addr, 4);
    }
    return address;
}

}  // namespace

Win32Sockets::Win32Sockets() {
    WSADATA data;
    // Without it every call below fails with WSANOTINITIALISED, which the caller then reports.
    started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    // Windows 2000's ws2_32 has no getaddrinfo: there host names resolve through
    // gethostbyname, to IPv4 addresses only.
    if (const HMODULE ws2 = GetModuleHandleA("ws2_32.dll")) {
        getAddrInfo_ = reinterpret_cast<GetAddrInfoFunction>(reinterpret_cast<void*>(GetProcAddress(ws2, "getaddrinfo")));
        freeAddrInfo_ =
            reinterpret_cast<FreeAddrInfoFunction>(reinterpret_cast<void*>(GetProcAddress(ws2, "freeaddrinfo")));
    }
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

// SIO_KEEPALIVE_VALS, unlike the per-option forms, exists back to Windows 2000.
bool Win32Sockets::SetKeepAlive(SocketHandle socket, std::chrono::seconds idle, std::chrono::seconds interval) {
    tcp_keepalive values{};
    values.onoff = 1;
    values.keepalivetime = static_cast<ULONG>(std::chrono::milliseconds(idle).count());
    values.keepaliveinterval = static_cast<ULONG>(std::chrono::milliseconds(interval).count());
    DWORD returned = 0;
    return WSAIoctl(Native(socket), SIO_KEEPALIVE_VALS, &values, sizeof values, nullptr, 0, &returned, nullptr,
                    nullptr) == 0;
}

bool Win32Sockets::SetNonBlocking(SocketHandle socket) {
    u_long on = 1;
    return ioctlsocket(Native(socket), FIONBIO, &on) == 0;
}

std::unique_ptr<SocketWaiter> Win32Sockets::CreateWaiter() {
    UniqueWsaEvent wake(WSACreateEvent());
    if (!wake) return nullptr;
    return std::make_unique<Win32SocketWaiter>(std::move(wake));
}

std::size_t Win32Sockets::Send(SocketHandle socket, std::string_view data) {
    const int sent = send(Native(socket), data.data(), static_cast<int>(data.size()), 0);
    return sent == SOCKET_ERROR ? 0 : static_cast<std::size_t>(sent);
}

ReceiveStatus Win32Sockets::Receive(SocketHandle socket, std::span<char> buffer, std::size_t& received) {
    const int result = recv(Native(socket), buffer.data(), static_cast<int>(buffer.size()), 0);
    received = result > 0 ? static_cast<std::size_t>(result) : 0;
    if (result > 0) return ReceiveStatus::Data;
    if (result == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) return ReceiveStatus::NothingYet;
    return ReceiveStatus::Ended;
}

std::vector<SocketAddress> Win32Sockets::Resolve(const std::string& host, std::uint16_t port, std::string& failure) {
    std::vector<SocketAddress> addresses;
    if (!getAddrInfo_ || !freeAddrInfo_) {
        const hostent* found = gethostbyname(host.c_str());
        if (!found || found->h_addrtype != AF_INET) {
            failure = ErrorText(WSAGetLastError());
            return addresses;
        }
        for (char** entry = found->h_addr_list; *entry; ++entry) {
            SocketAddress address;
            address.port = port;
            std::memcpy(address.bytes.data(), *entry, 4);
            addresses.push_back(address);
        }
        return addresses;
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    addrinfo* found = nullptr;
    const int error = getAddrInfo_(host.c_str(), std::to_string(port).c_str(), &hints, &found);
    if (error != 0) {
        failure = ErrorText(error);
        return addresses;
    }
    for (const addrinfo* entry = found; entry; entry = entry->ai_next) {
        if (entry->ai_family == AF_INET || entry->ai_family == AF_INET6) {
            addresses.push_back(FromNative(entry->ai_addr, port));
        }
    }
    freeAddrInfo_(found);
    return addresses;
}

SocketHandle Win32Sockets::OpenTcpFor(const SocketAddress& address) {
    return Handle(socket(address.ipv6 ? AF_INET6 : AF_INET, SOCK_STREAM, IPPROTO_TCP));
}

ConnectStatus Win32Sockets::Connect(SocketHandle socket, const SocketAddress& address) {
    sockaddr_in6 native6{};
    sockaddr_in native4{};
    const sockaddr* native = reinterpret_cast<const sockaddr*>(&native4);
    int length = sizeof native4;
    if (address.ipv6) {
        native6.sin6_family = AF_INET6;
        native6.sin6_port = htons(address.port);
        native6.sin6_scope_id = address.scopeId;
        std::memcpy(&native6.sin6_addr, address.bytes.data(), 16);
        native = reinterpret_cast<const sockaddr*>(&native6);
        length = sizeof native6;
    } else {
        native4.sin_family = AF_INET;
        native4.sin_port = htons(address.port);
        std::memcpy(&native4.sin_addr, address.bytes.data(), 4);
    }
    if (connect(Native(socket), native, length) == 0) return ConnectStatus::Connected;
    return WSAGetLastError() == WSAEWOULDBLOCK ? ConnectStatus::InProgress : ConnectStatus::Failed;
}

// SO_ERROR holds why a connect failed; a socket that reports none is asked for its peer too,
// which only a connected socket has.
int Win32Sockets::ConnectError(SocketHandle socket) {
    int error = 0;
    int length = sizeof error;
    if (getsockopt(Native(socket), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) != 0) {
        return WSAGetLastError();
    }
    if (error != 0) return error;
    sockaddr_in6 peer{};
    int peerLength = sizeof peer;
    if (getpeername(Native(socket), reinterpret_cast<sockaddr*>(&peer), &peerLength) != 0) return WSAGetLastError();
    return 0;
}

void Win32Sockets::Close(SocketHandle socket) { closesocket(Native(socket)); }

int Win32Sockets::LastError() { return WSAGetLastError(); }

std::string Win32Sockets::ErrorText(int error) { return SystemErrorText(static_cast<unsigned long>(error)); }

}  // namespace quorvel
