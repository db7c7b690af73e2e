#pragma once

#include <windows.h>

namespace quorvel {

// The About group's links: HomeL, MailL and the donation picture. While the mouse is over
// one the cursor is the hand and a text link turns red; a click opens its address.
class LinkLabels {
public:
    // Call once the window's controls exist.
    void Attach(HWND window);

    // The text colour of a link label, or nothing when the control is not one.
    bool TextColour(HWND control, COLORREF& colour) const;
    bool IsLink(HWND control) const;
    // STN_CLICKED of a control; false when it is not a link.
    bool OnClicked(HWND owner, int controlId) const;

private:
    static LRESULT CALLBACK Subclass(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR self);
    void SetHovered(HWND control);

    HWND hovered_ = nullptr;
};

}  // namespace quorvel
