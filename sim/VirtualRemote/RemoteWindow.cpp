#include "RemoteWindow.h"

#include <cstdio>
#include <string>

#include "RemoteButtons.h"
#include "platform/win32/WindowSubclass_win32.h"

namespace quorvel::sim {

namespace {

constexpr const char* kClassName = "QuorvelVirtualRemote";
constexpr const char* kTitle = "Quorvel Virtual Remote";
constexpr UINT kStatusChangedMessage = WM_APP + 1;
constexpr int kMargin = 8;
constexpr int kButtonWidth = 72;
constexpr int kButtonHeight = 30;
constexpr int kStatusHeight = 36;
constexpr int kFirstButtonId = 100;

int GridX(int column) { return kMargin + column * (kButtonWidth + kMargin); }
int GridY(int row) { return kMargin + row * (kButtonHeight + kMargin); }

}  // namespace

RemoteWindow::RemoteWindow(std::uint16_t controlPort) : port(controlPort) {}

bool RemoteWindow::Create(HINSTANCE instance, int showCommand) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);

    RECT frame = {0, 0, GridX(kRemoteColumns), GridY(kRemoteRows) + kStatusHeight};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    AdjustWindowRect(&frame, style, FALSE);
    CreateWindowExA(0, kClassName, kTitle, style, CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                    frame.bottom - frame.top, nullptr, nullptr, instance, this);
    if (window_ == nullptr) {
        return false;
    }
    ShowWindow(window_, showCommand);
    return true;
}

// The push buttons report a click only when the mouse is let go; the remote needs the
// moment of pressing too, so each button is subclassed.
LRESULT CALLBACK RemoteWindow::ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR index,
                                          DWORD_PTR self) {
    auto* remote = reinterpret_cast<RemoteWindow*>(self);
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        remote->OnButtonDown(index);
        break;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        remote->OnButtonUp();
        break;
    case WM_NCDESTROY:
        DetachSubclass(button, ButtonProc, index);
        break;
    default:
        break;
    }
    return CallNextSubclass(button, message, wParam, lParam);
}

LRESULT RemoteWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case kStatusChangedMessage:
        OnStatusChanged();
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    default:
        return DefWindowProcA(window_, message, wParam, lParam);
    }
}

void RemoteWindow::OnCreate() {
    const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window_, GWLP_HINSTANCE));
    for (std::size_t index = 0; index < kRemoteButtons.size(); ++index) {
        const RemoteButton& remoteButton = kRemoteButtons[index];
        HWND button = CreateWindowExA(0, "BUTTON", remoteButton.label, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                      GridX(remoteButton.column), GridY(remoteButton.row), kButtonWidth, kButtonHeight, window_,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstButtonId + index)), instance,
                                      nullptr);
        SendMessageA(button, WM_SETFONT, font, FALSE);
        AttachSubclass(button, ButtonProc, index, reinterpret_cast<DWORD_PTR>(this));
        buttons.push_back(button);
    }
    const std::string hint = "Port " + std::to_string(port) + ": press a button";
    statusLine = CreateWindowExA(0, "STATIC", hint.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT, kMargin,
                                 GridY(kRemoteRows), GridX(kRemoteColumns) - 2 * kMargin, kStatusHeight - kMargin,
                                 window_, nullptr, instance, nullptr);
    SendMessageA(statusLine, WM_SETFONT, font, FALSE);
    HWND self = window_;
    sender = std::make_unique<ControlSender>(port, [self] { PostMessageA(self, kStatusChangedMessage, 0, 0); });
}

void RemoteWindow::OnStatusChanged() {
    if (sender) {
        SetWindowTextA(statusLine, sender->Status().c_str());
    }
}

void RemoteWindow::OnDestroy() {
    OnButtonUp();
    sender.reset();
    PostQuitMessage(0);
}

void RemoteWindow::OnButtonDown(std::size_t index) {
    if (!sender) {
        return;
    }
    OnButtonUp();
    char command[32];
    std::snprintf(command, sizeof command, "hold %08X", static_cast<unsigned>(kRemoteButtons[index].extCode));
    sender->Send(command);
    heldButton = static_cast<int>(index);
}

void RemoteWindow::OnButtonUp() {
    if (heldButton < 0 || !sender) {
        return;
    }
    sender->Send("release");
    heldButton = -1;
}

}  // namespace quorvel::sim
