#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace quorvel::wintool {

// One line per child window of `window` (not deeper): handle, class, visible, style, its
// rectangle in the window's client area, and the width its text takes in the main window's
// font ("MS Sans Serif", 8 points at the screen's DPI) and in its bold face.
std::vector<std::vector<std::string>> LayoutLines(HWND window);
// One line per drop-down list among the window's children: its id, the width its list drops
// down in, and the width of its widest item in the main window's font.
std::vector<std::vector<std::string>> ListWidthLines(HWND window);

}  // namespace quorvel::wintool
