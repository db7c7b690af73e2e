#include "Layout.h"

#include <algorithm>

#include "RemoteWindows.h"
#include "TextEscape.h"

namespace quorvel::wintool {
namespace {

constexpr int kFontHeight = -11;

// Another process's font handle means nothing here, so the program's font is made anew.
HFONT MakeFont(int dpi, int weight) {
    return CreateFontA(MulDiv(kFontHeight, dpi, 96), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                       "MS Sans Serif");
}

SIZE TextSize(HDC dc, HFONT font, const std::string& text) {
    const HGDIOBJ previous = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    return size;
}

}  // namespace

std::vector<std::vector<std::string>> LayoutLines(HWND window) {
    const HDC dc = GetDC(nullptr);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    const HFONT normal = MakeFont(dpi, FW_NORMAL);
    const HFONT bold = MakeFont(dpi, FW_BOLD);
    std::vector<std::vector<std::string>> lines;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect{};
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
        const std::string text = ReadText(child).value_or("");
        const SIZE plain = TextSize(dc, normal, text);
        char style[16];
        wsprintfA(style, "0x%08lX", static_cast<unsigned long>(GetWindowLongA(child, GWL_STYLE)));
        lines.push_back({std::to_string(GetDlgCtrlID(child)), Escape(ClassOf(child)), IsWindowVisible(child) ? "1" : "0",
                         style, std::to_string(rect.left), std::to_string(rect.top), std::to_string(rect.right),
                         std::to_string(rect.bottom), std::to_string(plain.cx), std::to_string(TextSize(dc, bold, text).cx),
                         std::to_string(plain.cy), Escape(text)});
    }
    DeleteObject(normal);
    DeleteObject(bold);
    ReleaseDC(nullptr, dc);
    return lines;
}

std::vector<std::vector<std::string>> ListWidthLines(HWND window) {
    const HDC dc = GetDC(nullptr);
    const HFONT normal = MakeFont(GetDeviceCaps(dc, LOGPIXELSX), FW_NORMAL);
    std::vector<std::vector<std::string>> lines;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (_stricmp(ClassOf(child).c_str(), "ComboBox") != 0) continue;
        const std::optional<ComboContents> contents = ReadCombo(child);
        if (!contents) continue;
        LONG widest = 0;
        for (const std::string& item : contents->items) widest = std::max(widest, TextSize(dc, normal, item).cx);
        const LRESULT dropped = SendMessageA(child, CB_GETDROPPEDWIDTH, 0, 0);
        lines.push_back({std::to_string(GetDlgCtrlID(child)), std::to_string(dropped), std::to_string(widest)});
    }
    DeleteObject(normal);
    ReleaseDC(nullptr, dc);
    return lines;
}

}  // namespace quorvel::wintool
