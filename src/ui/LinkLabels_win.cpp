#include "ui/LinkLabels_win.h"

#include <shellapi.h>

#include "platform/win32/WindowSubclass_win32.h"
#include "ui/ControlIds.h"

namespace quorvel {
namespace {

namespace id = control_id;

struct Link {
    int controlId;
    const char* address;
};

constexpr Link kLinks[] = {
    {id::HomeL, "https://www.vantrel.example/quorvel/"},
    {id::MailL, "mailto:support@vantrel.example?subject=Quorvel_Support"},
    {id::DonateI, "https://www.vantrel.example/quorvel/donate/"},
};

constexpr COLORREF kLinkBlue = RGB(0, 0, 255);
constexpr COLORREF kHoverRed = RGB(255, 0, 0);
constexpr UINT_PTR kSubclassId = 1;

const Link* LinkOf(int controlId) {
    for (const Link& link : kLinks) {
        if (link.controlId == controlId) return &link;
    }
    return nullptr;
}

}  // namespace

void LinkLabels::Attach(HWND window) {
    for (const Link& link : kLinks) {
        AttachSubclass(GetDlgItem(window, link.controlId), Subclass, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    }
}

bool LinkLabels::IsLink(HWND control) const { return control && LinkOf(GetDlgCtrlID(control)); }

bool LinkLabels::TextColour(HWND control, COLORREF& colour) const {
    if (!IsLink(control)) return false;
    colour = control == hovered_ ? kHoverRed : kLinkBlue;
    return true;
}

bool LinkLabels::OnClicked(HWND owner, int controlId) const {
    const Link* link = LinkOf(controlId);
    if (!link) return false;
    ShellExecuteA(owner, "Open", link->address, nullptr, nullptr, SW_SHOWNORMAL);
    return true;
}

void LinkLabels::SetHovered(HWND control) {
    if (hovered_ == control) return;
    const HWND previous = hovered_;
    hovered_ = control;
    if (previous) InvalidateRect(previous, nullptr, TRUE);
    if (control) InvalidateRect(control, nullptr, TRUE);
}

LRESULT CALLBACK LinkLabels::Subclass(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR self) {
    auto& links = *reinterpret_cast<LinkLabels*>(self);
    switch (message) {
        case WM_MOUSEMOVE:
            if (links.hovered_ != control) {
                TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, control, 0};
                TrackMouseEvent(&track);
                links.SetHovered(control);
            }
            break;
        case WM_MOUSELEAVE:
            if (links.hovered_ == control) links.SetHovered(nullptr);
            break;
        case WM_SETCURSOR:
            SetCursor(LoadCursorA(nullptr, IDC_HAND));
            return TRUE;
        case WM_NCDESTROY:
            DetachSubclass(control, Subclass, kSubclassId);
            break;
        default: break;
    }
    return CallNextSubclass(control, message, wParam, lParam);
}

}  // namespace quorvel
