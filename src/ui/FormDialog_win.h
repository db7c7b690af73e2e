#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/Log.h"
#include "ui/MainWindowLayout_win.h"

namespace quorvel {

// The unit and bounds shown after a time's field: "ms (100-5000)".
std::string MsBounds(std::uint32_t low, std::uint32_t high);

// A modal dialog made like the main window: its controls come from a table of places at 96 DPI,
// scaled, in the window's font. Enter chooses OK (IDOK), Esc and the close box Cancel
// (IDCANCEL); Tab follows the table's order.
class FormDialog {
public:
    FormDialog(const FormDialog&) = delete;
    FormDialog& operator=(const FormDialog&) = delete;

    // Shows the dialog over its owner until it closes; true when it closed with OK.
    bool Run(HWND owner, HINSTANCE instance, HFONT font, int dpi, Log& log);
    // The dialog while it is open.
    HWND Handle() const { return dialog_; }

protected:
    // The client area is width x height at 96 DPI.
    FormDialog(const char* caption, std::span<const ControlSpec> controls, int width, int height);
    ~FormDialog();

    // The controls exist: they show what the dialog edits.
    virtual void OnInit() = 0;
    // OK: true once the controls' values are taken; false keeps the dialog open.
    virtual bool OnOk() = 0;
    // Any other control's notification.
    virtual void OnControl(int controlId, int code) = 0;

    HWND Control(int controlId) const { return GetDlgItem(dialog_, controlId); }
    std::string TextOf(int controlId) const;
    void SetText(int controlId, const std::string& text);
    std::u16string WideTextOf(int controlId) const;
    void SetWideText(int controlId, std::u16string_view text);
    bool IsChecked(int controlId) const;
    void SetChecked(int controlId, bool checked);
    // Says what is wrong with a field and puts the cursor in it, its text selected.
    void Refuse(int controlId, const std::string& message);
    // The time typed in a field, in ms, clamped to its bounds. When it is no whole number, the
    // field is refused in the words of its label ("Repeat delay:") and there is nothing.
    std::optional<std::uint32_t> TypedMs(int controlId, const char* label, std::uint32_t low, std::uint32_t high);

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    void CreateControls();
    void PlaceOverOwner();
    int Scale(int pixels) const { return MulDiv(pixels, dpi_, 96); }

    const char* caption_;
    std::span<const ControlSpec> controls_;
    int width_;
    int height_;
    HWND owner_ = nullptr;
    HINSTANCE instance_ = nullptr;
    HFONT font_ = nullptr;
    int dpi_ = 96;
    HWND dialog_ = nullptr;
};

}  // namespace quorvel
