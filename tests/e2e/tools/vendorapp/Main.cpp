// A stand-in for a maker's TV application: a top-level window with the class and title the
// maker's program uses, which records the messages it is sent to a log file, one line each:
// "close" for WM_CLOSE (and then it ends), "user <wParam hex> <lParam hex>" for WM_USER + 100.
// "hung" shows the window in front and then stops answering, as a program stuck in a long task.
// "shell" stands in for the shell's tray (class "Shell_TrayWnd"): hidden, it takes the
// WM_COPYDATA that carries each tray icon call and logs "copydata <dwData>", or "copydata
// <dwData> refused" for what Explorer refuses too: adding an icon it has, changing or deleting
// one it has not. "shell-refusing" also refuses the first add, as a shell not ready at logon.
// Closed, it tells every program "TaskbarCreated", as a shell started anew does; sent
// WM_USER + 101, it tells them so while keeping its icons, as when that message crosses an add.
//
//   vendorapp.exe <class> <title> <log file> [shown|minimized|hidden|hung|shell|shell-refusing]
#include <windows.h>

#include <shellapi.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <utility>

namespace {

constexpr UINT kVendorButtonMessage = WM_USER + 100;
constexpr UINT kAnnounceMessage = WM_USER + 101;
std::string logPath;
bool shell = false;
bool refuseNextAdd = false;
// The icons the shell shows: the owner window and the icon's id, the first two fields of the
// data Wine's Shell_NotifyIcon sends.
std::set<std::pair<std::uint32_t, std::uint32_t>> icons;

void Log(const std::string& line) {
    if (FILE* file = std::fopen(logPath.c_str(), "a")) {
        std::fprintf(file, "%s\n", line.c_str());
        std::fclose(file);
    }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kVendorButtonMessage: {
            char line[64];
            std::snprintf(line, sizeof line, "user %llX %llX", static_cast<unsigned long long>(wParam),
                          static_cast<unsigned long long>(lParam));
            Log(line);
            return 0;
        }
        case WM_COPYDATA: {
            const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            std::pair<std::uint32_t, std::uint32_t> icon{};
            if (data->cbData >= sizeof(std::uint32_t) * 2) {
                std::memcpy(&icon.first, data->lpData, sizeof icon.first);
                std::memcpy(&icon.second, static_cast<const char*>(data->lpData) + sizeof icon.first, sizeof icon.second);
            }
            const bool known = icons.count(icon) != 0;
            bool taken = data->dwData == NIM_ADD ? !known && !refuseNextAdd : known;
            if (data->dwData == NIM_ADD) refuseNextAdd = false;
            if (taken && data->dwData == NIM_ADD) icons.insert(icon);
            if (taken && data->dwData == NIM_DELETE) icons.erase(icon);
            Log("copydata " + std::to_string(data->dwData) + (taken ? "" : " refused"));
            return taken;
        }
        case kAnnounceMessage:
            PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
            return 0;
        case WM_CLOSE:
            Log("close");
            DestroyWindow(window);
            if (shell) PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
            return 0;
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: vendorapp <class> <title> <log file> [shown|minimized|hidden|hung|shell]\n");
        return 2;
    }
    logPath = argv[3];
    const std::string show = argc > 4 ? argv[4] : "shown";
    shell = show == "shell" || show == "shell-refusing";
    refuseNextAdd = show == "shell-refusing";
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = argv[1];
    windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    RegisterClassA(&windowClass);
    // Topmost, so that a tray found by its class finds this window before the shell's own.
    HWND window = CreateWindowExA(shell ? WS_EX_TOPMOST : 0, argv[1], argv[2], WS_OVERLAPPEDWINDOW, 40, 40, 320,
                                  200, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!window) return 1;
    if (show == "shown") ShowWindow(window, SW_SHOWNOACTIVATE);
    if (show == "minimized") ShowWindow(window, SW_SHOWMINNOACTIVE);
    if (show == "hung") {
        ShowWindow(window, SW_SHOW);
        SetForegroundWindow(window);
        // Answer for a moment, so that the window is on the screen and in front, then never again.
        const DWORD until = GetTickCount() + 500;
        MSG message;
        while (GetTickCount() < until) {
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
            Sleep(10);
        }
        Log("ready");
        Sleep(INFINITE);
    }
    Log("ready");
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
