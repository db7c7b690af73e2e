// The baseline of the Wine benchmark: the least a windowed program can do to read a remote
// control. It loads the substitute Beholder library beside it, opens the first card and polls
// it on a 50 ms timer of a hidden window (a tray program needs a window for its icon, and
// Quorvel's tick is such a timer), and nothing else. Given a port, it then also listens on
// 127.0.0.1 there, so that its start-up can be timed as Quorvel's is: until a client connects.
//
//   IdlePoller.exe [port]
#include <winsock2.h>
#include <windows.h>

#include <cstdint>
#include <cstdlib>

namespace {

using CardCountFn = std::uint32_t(__cdecl*)();
using OpenCardFn = std::uint32_t(__cdecl*)(std::uint32_t);
using CodeFn = std::uint32_t(__cdecl*)();

CodeFn getRemoteCode = nullptr;
CodeFn getRemoteCodeEx = nullptr;
volatile std::uint32_t lastCode = 0;

template <typename Fn>
Fn Resolve(HMODULE library, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        lastCode = getRemoteCode() + getRemoteCodeEx();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Connections wait in the backlog; the benchmark only needs its connect to succeed.
bool Listen(std::uint16_t port) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return false;
    const SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return listener != INVALID_SOCKET &&
           bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
           listen(listener, SOMAXCONN) == 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    const HMODULE library = LoadLibraryA("BeholdRC.dll");
    if (!library) return 1;
    const auto cardCount = Resolve<CardCountFn>(library, "GetCardCount");
    const auto openCard = Resolve<OpenCardFn>(library, "OpenCard");
    getRemoteCode = Resolve<CodeFn>(library, "GetRemoteCode");
    getRemoteCodeEx = Resolve<CodeFn>(library, "GetRemoteCodeEx");
    if (!cardCount || !openCard || !getRemoteCode || !getRemoteCodeEx || cardCount() == 0 || !openCard(0)) return 1;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "IdlePoller";
    RegisterClassA(&windowClass);
    const HWND window = CreateWindowExA(0, "IdlePoller", "IdlePoller", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                        nullptr, instance, nullptr);
    if (!window || !SetTimer(window, 1, 50, nullptr)) return 1;
    const long port = std::strtol(commandLine, nullptr, 10);
    if (port > 0 && port < 65536 && !Listen(static_cast<std::uint16_t>(port))) return 1;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
