#pragma once

#include <windows.h>

#include <span>

#include "model/ButtonMap.h"

namespace quorvel {

// The main window's client width and the height of its content above the status bar, at 96
// DPI: the classic 250 x 560 with the "Programs" group below the rest.
constexpr int kClientWidth = 250;
constexpr int kContentHeight = 631;
constexpr int kStatusPanel0Width = 210;
// Room a list item takes beyond its text in a dropped list, at 96 DPI.
constexpr int kListTextMargin = 8;

// Pages of the settings tabs, in tab order; a control of a page is shown only while its tab
// is selected.
enum class Page { Always = -1, General, WinLirc, Beholder, Compro };
constexpr const char* kTabCaptions[] = {"General", "WinLIRC", "Beholder", "Compro"};

// The button properties editor's caption, and the ones it has while it shows a long or double press.
constexpr const char* kEditorCaption = "RC Button Properties";
constexpr const char* EditorCaption(Gesture gesture) {
    return gesture == Gesture::Long     ? "RC Button Properties: long press"
           : gesture == Gesture::Double ? "RC Button Properties: double press"
                                        : kEditorCaption;
}

// The macro button's caption and hint while the editor's button has no macro.
constexpr const char* kNoMacroCaption = "Macro...";

enum class Look { Plain, Blue, Bold, Link };

struct ControlSpec {
    int id;  // 0 for captions and pictures nobody addresses
    const char* className;
    const char* text;
    DWORD style;
    int x, y, width, height;  // client coordinates at 96 DPI; for drop-down lists, the dropped height
    Page page = Page::Always;
    int iconId = 0;
    Look look = Look::Plain;
};

// Every control of the main window in creation order, which is also the tab order.
std::span<const ControlSpec> MainWindowControls();

}  // namespace quorvel
