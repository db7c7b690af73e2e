#pragma once

#include <windows.h>

namespace quorvel {

// An owner-drawn button shown as its picture alone, size x size pixels in the middle, as a plain
// picture looks: pushed in while pressed or latched, greyed while disabled, framed while it has
// the focus.
void DrawPictureButton(const DRAWITEMSTRUCT& item, HICON picture, int size, bool latched = false);

}  // namespace quorvel
