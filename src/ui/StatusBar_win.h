#pragma once

#include <windows.h>

namespace quorvel {

// The window's status bar, two lines tall: a panel's text that is wider than the panel wraps
// onto the second line instead of being cut off. The panels keep their texts as any status
// bar's, for screen readers and tools that read them.
class StatusBar {
public:
    // Creates the bar at the bottom of the window.
    HWND Create(HWND window, int controlId, HINSTANCE instance);
    // The panels' right edges, in pixels; the last -1 reaches the right end.
    void SetFont(HFONT font, const int* edges, int count);
    HWND Handle() const { return bar_; }
    // Its height once placed; the window's content lies above it.
    int Height() const;

private:
    static LRESULT CALLBACK Subclass(HWND bar, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR);
    void Paint() const;

    HWND bar_ = nullptr;
};

}  // namespace quorvel
