// VirtualRemote.exe [port]: presses the substitute receiver libraries' buttons by hand.

#include <windows.h>

#include <charconv>
#include <cstdlib>
#include <cstring>

#include "RemoteWindow.h"

namespace {

constexpr std::uint16_t kDefaultPort = 8770;

bool ParsePort(const char* text, std::uint16_t& port) {
    const char* end = text + std::strlen(text);
    std::uint16_t value = 0;
    const auto [last, error] = std::from_chars(text, end, value);
    if (error != std::errc() || last != end || value == 0) {
        return false;
    }
    port = value;
    return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    std::uint16_t port = kDefaultPort;
    if (__argc > 2 || (__argc == 2 && !ParsePort(__argv[1], port))) {
        MessageBoxA(nullptr, "Usage: VirtualRemote.exe [port]", "Quorvel Virtual Remote", MB_OK | MB_ICONERROR);
        return 2;
    }
    quorvel::sim::RemoteWindow remote(port);
    if (!remote.Create(instance, showCommand)) {
        return 1;
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
