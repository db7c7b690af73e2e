#pragma once

#include <windows.h>

namespace quorvel {

// An owner-drawn button shown as its picture alone, size x size pixels in the middle, as a plain
// picture looks: pushed in while pressed, greyed while disabled, framed while it has the focus.
void DrawPictureButton(const DRAWITEMSTRUCT& item, HICON picture, int size);

}  // namespace quorvel
