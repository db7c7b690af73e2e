#include "osd/OsdColour_win.h"

#include "platform/win32/CommonDialogs_win32.h"
#include "platform/win32/Win32Handles.h"

namespace quorvel {
namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

}  // namespace

OsdColourDialog::OsdColourDialog() { customColours_.fill(kWhite); }

std::optional<COLORREF> OsdColourDialog::Choose(HWND owner, COLORREF current) {
    CHOOSECOLORA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.rgbResult = current;
    dialog.lpCustColors = customColours_.data();
    dialog.Flags = CC_RGBINIT;
    if (!ShowColourDialog(dialog)) return std::nullopt;
    return dialog.rgbResult;
}

void DrawOsdSwatch(HDC dc, COLORREF colour) {
    const SelectedObject pen(dc, GetStockObject(DC_PEN));
    const SelectedObject brush(dc, GetStockObject(NULL_BRUSH));
    SetDCPenColor(dc, kBlack);
    Rectangle(dc, 0, 0, 9, 9);
    SetDCBrushColor(dc, colour);
    RECT inside;
    SetRect(&inside, 1, 1, 8, 8);
    FillRect(dc, &inside, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

}  // namespace quorvel
