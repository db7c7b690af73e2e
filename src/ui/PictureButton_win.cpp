#include "ui/PictureButton_win.h"

namespace quorvel {

// The edge is drawn over the picture, which may fill the whole button.
void DrawPictureButton(const DRAWITEMSTRUCT& item, HICON picture, int size, bool latched) {
    RECT rect = item.rcItem;
    FillRect(item.hDC, &rect, GetSysColorBrush(latched ? COLOR_BTNHILIGHT : COLOR_BTNFACE));
    const bool pressed = latched || (item.itemState & ODS_SELECTED) != 0;
    const int shift = pressed ? 1 : 0;
    const int x = rect.left + (rect.right - rect.left - size) / 2 + shift;
    const int y = rect.top + (rect.bottom - rect.top - size) / 2 + shift;
    if (item.itemState & ODS_DISABLED) {
        DrawStateA(item.hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(picture), 0, x, y, size, size,
                   DST_ICON | DSS_DISABLED);
    } else {
        DrawIconEx(item.hDC, x, y, picture, size, size, 0, nullptr, DI_NORMAL);
    }
    if (pressed) DrawEdge(item.hDC, &rect, latched ? EDGE_SUNKEN : BDR_SUNKENOUTER, BF_RECT);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) DrawFocusRect(item.hDC, &rect);
}

}  // namespace quorvel
