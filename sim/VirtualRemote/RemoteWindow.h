#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "ControlSender.h"
#include "platform/win32/BaseWindow.h"

namespace quorvel::sim {

// "Quorvel Virtual Remote": a grid of remote buttons. Pressing one with the mouse holds its
// code in the substitute library until the mouse button is let go.
class RemoteWindow final : public BaseWindow<RemoteWindow> {
public:
    explicit RemoteWindow(std::uint16_t port);

    bool Create(HINSTANCE instance, int showCommand);

private:
    friend class BaseWindow<RemoteWindow>;
    static LRESULT CALLBACK ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR index,
                                       DWORD_PTR self);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCreate();
    void OnStatusChanged();
    void OnDestroy();
    void OnButtonDown(std::size_t index);
    void OnButtonUp();

    const std::uint16_t port;
    HWND statusLine = nullptr;
    std::vector<HWND> buttons;
    int heldButton = -1;
    std::unique_ptr<ControlSender> sender;
};

}  // namespace quorvel::sim
