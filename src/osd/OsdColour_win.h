#pragma once

#include <windows.h>

#include <array>
#include <optional>

namespace quorvel {

// The colour dialog behind the OSD swatch; it keeps the user's custom colours between openings.
class OsdColourDialog {
public:
    OsdColourDialog();
    // Opens preset to the current colour; the chosen colour, or nothing when cancelled.
    std::optional<COLORREF> Choose(HWND owner, COLORREF current);

private:
    std::array<COLORREF, 16> customColours_;
};

// The 10 x 10 swatch: a black frame around the colour.
void DrawOsdSwatch(HDC dc, COLORREF colour);

}  // namespace quorvel
