#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace quorvel::wintool {

// Reading and pressing the windows of other processes.

struct TopLevelWindow {
    HWND window;
    DWORD processId;
    std::string className;
    bool visible;
    std::string title;
};

struct ComboContents {
    int selected;
    std::vector<std::string> items;
};

std::vector<TopLevelWindow> TopLevelWindows();
// A title of "*" matches any title.
HWND FindTopLevel(const std::string& className, const std::string& title);
// Controls may sit in group boxes or tab pages, so every descendant is searched.
HWND FindDescendant(HWND parent, int controlId);
std::vector<HWND> Descendants(HWND parent);
std::string ClassOf(HWND window);
// The text the control itself holds (WM_GETTEXT); none when the window does not answer.
std::optional<std::string> ReadText(HWND window);
// Texts of a message box's Static children, the empty icon holder left out.
std::vector<std::string> StaticTexts(HWND dialog);
std::optional<std::vector<std::string>> ReadStatusParts(HWND statusBar);
std::optional<ComboContents> ReadCombo(HWND combo);
HWND FindOkButton(HWND dialog);
bool Click(HWND button);
bool SelectComboItem(HWND combo, int index);
// The screen rectangles of a tab control's tabs, in tab order.
std::optional<std::vector<RECT>> ReadTabRects(HWND tabs);
struct Tool {
    UINT_PTR id;  // the control's window for a tool that is a whole control
    std::string text;
};
// A tooltip's tools by index, from 0; none past the last.
std::optional<Tool> ReadTool(HWND tooltip, int index);
// The text of a tooltip's first tool, such as a tray icon's balloon text. (Wine 8's tooltips
// do not report their title.)
std::optional<std::string> ReadToolText(HWND tooltip);

}  // namespace quorvel::wintool
