// spywindow LOGFILE [CLASS [topmost] [detail]]: a visible window that takes the foreground and records the input it
// receives, so the end-to-end tests see what Quorvel's keystrokes, mouse actions and
// application commands do to the application in front. One line per event, appended to
// LOGFILE:
//   window 0xHWND            the window exists (first line of a run)
//   ready                    shown, in front, pointer in the middle of the client area
//   active | inactive        the window gained or lost the activation
//   keydown VK | keyup VK | syskeydown VK | syskeyup VK      (VK: 2 upper-case hex digits)
//                            with "detail", followed by "scan SS", " ext" for the extended-key flag
//                            and " t=MS", the message's time (GetMessageTime)
//   char XXXX t=MS           with "detail": a character, in UTF-16 (4 upper-case hex digits)
//   lbuttondown X Y | lbuttonup X Y | lbuttondblclk X Y, the same for rbutton and mbutton
//                            (X Y: the pointer on the screen)
//   wheel DELTA              signed, e.g. 120 or -120
//   appcommand 0xWPARAM 0xLPARAM
//   cursor X Y               the pointer on the screen, when asked by kCursorRequest
//   foreground 0xHWND        the foreground window of the desktop, when asked by kForegroundQuery
// Messages the tests post to the window: kCursorRequest (log the pointer position),
// kForegroundRequest (take the foreground again) and kForegroundQuery (log which window
// is in front).
// Exits 2 on a usage error or when the log cannot be opened.

#include <windows.h>

#include <windowsx.h>

#include <cstdarg>
#include <cstring>

#include "EventLog.h"

namespace {

constexpr UINT kCursorRequest = WM_APP + 1;
constexpr UINT kForegroundRequest = WM_APP + 2;
constexpr UINT kForegroundQuery = WM_APP + 3;
constexpr const char* kClassName = "QuorvelSpyWindow";
constexpr const char* kTitle = "Quorvel Spy";
// Clear of the small tray window Wine shows at the top left without a virtual desktop.
constexpr RECT kBounds{300, 200, 940, 680};
constexpr int kUsage = 2;
// Keys also tell their scan codes, and characters are recorded: the window is a Unicode one.
bool detail = false;

using spywindow::EventLog;

// Messages that come before WM_NCCREATE or after WM_DESTROY find no log and are not recorded.
__attribute__((format(printf, 2, 3))) void Log(HWND window, const char* format, ...) {
    auto* log = reinterpret_cast<EventLog*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!log) return;
    std::va_list arguments;
    va_start(arguments, format);
    log->WriteV(format, arguments);
    va_end(arguments);
}

const char* KeyMessageName(UINT message) {
    switch (message) {
        case WM_KEYDOWN: return "keydown";
        case WM_KEYUP: return "keyup";
        case WM_SYSKEYDOWN: return "syskeydown";
        default: return "syskeyup";
    }
}

const char* ButtonMessageName(UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN: return "lbuttondown";
        case WM_LBUTTONUP: return "lbuttonup";
        case WM_LBUTTONDBLCLK: return "lbuttondblclk";
        case WM_RBUTTONDOWN: return "rbuttondown";
        case WM_RBUTTONUP: return "rbuttonup";
        case WM_RBUTTONDBLCLK: return "rbuttondblclk";
        case WM_MBUTTONDOWN: return "mbuttondown";
        case WM_MBUTTONUP: return "mbuttonup";
        default: return "mbuttondblclk";
    }
}

void LogButton(HWND window, UINT message, LPARAM lParam) {
    POINT position{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(window, &position);
    Log(window, "%s %ld %ld", ButtonMessageName(message), position.x, position.y);
}

void LogCursor(HWND window) {
    POINT position{};
    GetCursorPos(&position);
    Log(window, "cursor %ld %ld", position.x, position.y);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE: {
            auto* log = static_cast<EventLog*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(log));
            log->Write("window 0x%llX", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
            break;
        }
        case WM_ACTIVATE:
            Log(window, LOWORD(wParam) == WA_INACTIVE ? "inactive" : "active");
            break;
        // Key messages never reach DefWindowProc: Alt alone would open the system menu's
        // loop and swallow the keys after it.
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
            if (detail) {
                Log(window, "%s %02X scan %02X%s t=%ld", KeyMessageName(message), static_cast<unsigned>(wParam),
                    static_cast<unsigned>((lParam >> 16) & 0xFF), (lParam >> 24) & 1 ? " ext" : "", GetMessageTime());
            } else {
                Log(window, "%s %02X", KeyMessageName(message), static_cast<unsigned>(wParam));
            }
            return 0;
        case WM_CHAR:
            if (detail) Log(window, "char %04X t=%ld", static_cast<unsigned>(wParam), GetMessageTime());
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MBUTTONDBLCLK:
            LogButton(window, message, lParam);
            return 0;
        case WM_MOUSEWHEEL:
            Log(window, "wheel %d", GET_WHEEL_DELTA_WPARAM(wParam));
            return 0;
        // Handled here, so DefWindowProc does not pass the command on to the shell.
        case WM_APPCOMMAND:
            Log(window, "appcommand 0x%llX 0x%llX", static_cast<unsigned long long>(wParam),
                                static_cast<unsigned long long>(lParam));
            return TRUE;
        case kCursorRequest:
            LogCursor(window);
            return 0;
        case kForegroundRequest:
            SetForegroundWindow(window);
            return 0;
        case kForegroundQuery:
            Log(window, "foreground 0x%llX",
                                static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(GetForegroundWindow())));
            return 0;
        case WM_DESTROY:
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            PostQuitMessage(0);
            return 0;
    }
    return detail ? DefWindowProcW(window, message, wParam, lParam) : DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

// A window class of another name stands for a shell window (the task switcher's is
// "TaskSwitcherWnd"); "topmost" keeps the window above all others.
int main(int argc, char** argv) {
    if (argc < 2 || argc > 5) return kUsage;
    EventLog log(argv[1]);
    if (!log.IsOpen()) return kUsage;
    const char* className = argc >= 3 ? argv[2] : kClassName;
    DWORD extendedStyle = 0;
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], "topmost") == 0) extendedStyle = WS_EX_TOPMOST;
        if (std::strcmp(argv[i], "detail") == 0) detail = true;
    }

    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = className;
    // A Unicode window gets every typed character as it is; RegisterClassA's would get them
    // in the ANSI code page.
    if (detail) {
        WNDCLASSW wide{};
        wchar_t wideName[64]{};
        MultiByteToWideChar(CP_ACP, 0, className, -1, wideName, 63);
        wide.style = windowClass.style;
        wide.lpfnWndProc = WindowProc;
        wide.hInstance = instance;
        wide.hCursor = windowClass.hCursor;
        wide.hbrBackground = windowClass.hbrBackground;
        wide.lpszClassName = wideName;
        RegisterClassW(&wide);
    } else {
        RegisterClassA(&windowClass);
    }
    const HWND window = CreateWindowExA(extendedStyle, className, kTitle, WS_OVERLAPPEDWINDOW, kBounds.left,
                                        kBounds.top, kBounds.right - kBounds.left, kBounds.bottom - kBounds.top,
                                        nullptr, nullptr, instance, &log);
    if (!window) return kUsage;

    // The pointer starts inside the window, so clicks land on it.
    RECT client{};
    GetClientRect(window, &client);
    POINT middle{client.right / 2, client.bottom / 2};
    ClientToScreen(window, &middle);
    SetCursorPos(middle.x, middle.y);
    ShowWindow(window, SW_SHOWNORMAL);
    SetForegroundWindow(window);
    UpdateWindow(window);
    log.Write("ready");

    MSG message;
    while ((detail ? GetMessageW(&message, nullptr, 0, 0) : GetMessageA(&message, nullptr, 0, 0)) > 0) {
        TranslateMessage(&message);
        if (detail) {
            DispatchMessageW(&message);
        } else {
            DispatchMessageA(&message);
        }
    }
    return 0;
}
