#include "ui/MacroDialog_win.h"

#include <array>
#include <utility>

#include "actions/Macro.h"
#include "actions/MacroLines.h"
#include "ui/ControlIds.h"
#include "ui/ControlStyles_win.h"

namespace quorvel {
namespace {

namespace id = control_id;

// The button, its steps one a line (never wrapped, so that a line is a step), the steps' forms,
// then "Try" on the left and OK and Cancel on the right.
constexpr int kWidth = 360;
constexpr int kWide = kWidth - 20;
constexpr DWORD kStepsField = kEdit | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
constexpr int kFieldTop = 28;
constexpr int kFieldHeight = 130;
constexpr const char* kForms[] = {
    "Ctrl+Shift+Esc   Hold Alt   Release Alt   Wait 500 (ms)",
    "\"typed text\" (\"\" for a quote, {U+263A} for any character)",
    "Mouse Click Left   Command Volume Mute   Mode Keys",
    "Run \"C:\\Apps\\vlc.exe\" --fullscreen   Sleep   Shutdown",
    "Try: the steps run 2 seconds later, in the window in front.",
};
constexpr int kFormCount = static_cast<int>(std::size(kForms));
constexpr int FormTop(int row) { return kFieldTop + kFieldHeight + 6 + row * 15; }
constexpr int kButtonsY = FormTop(kFormCount) + 6;
constexpr int kHeight = kButtonsY + 33;

constexpr std::array<ControlSpec, kFormCount + 5> MakeControls() {
    std::array<ControlSpec, kFormCount + 5> controls{};
    std::size_t next = 0;
    controls[next++] = {id::MacroButtonL, "STATIC", "", kLabel | SS_ENDELLIPSIS, 10, 10, kWide, 13};
    controls[next++] = {id::MacroE, "EDIT", "", kStepsField, 10, kFieldTop, kWide, kFieldHeight};
    for (int row = 0; row < kFormCount; ++row) {
        controls[next++] = {0, "STATIC", kForms[row], kLabel, 10, FormTop(row), kWide, 13};
    }
    controls[next++] = {id::MacroTryB, "BUTTON", "&Try", kPush, 10, kButtonsY, 75, 23};
    controls[next++] = {IDOK, "BUTTON", "OK", kPush | BS_DEFPUSHBUTTON, kWidth - 166, kButtonsY, 75, 23};
    controls[next++] = {IDCANCEL, "BUTTON", "Cancel", kPush, kWidth - 85, kButtonsY, 75, 23};
    return controls;
}
constexpr auto kControls = MakeControls();

}  // namespace

MacroDialog::MacroDialog(std::string button, std::string macro, CodePage& codePage,
                         std::function<void(const std::string&)> tryMacro)
    : FormDialog("Macro", kControls, kWidth, kHeight),
      button_(std::move(button)),
      chosen_(std::move(macro)),
      codePage_(codePage),
      tryMacro_(std::move(tryMacro)) {}

void MacroDialog::OnInit() {
    SetText(id::MacroButtonL, button_);
    std::string lines;
    for (const std::string& step : MacroStepTexts(chosen_)) lines += step + "\r\n";
    SetWideText(id::MacroE, UnescapedText(lines, codePage_));
}

bool MacroDialog::OnOk() {
    const auto macro = TypedMacro();
    if (macro) chosen_ = *macro;
    return macro.has_value();
}

void MacroDialog::OnControl(int controlId, int code) {
    if (controlId != id::MacroTryB || code != BN_CLICKED) return;
    if (const auto macro = TypedMacro()) tryMacro_(*macro);
}

// Characters the code page lacks are kept as escapes, which the typed texts understand.
std::optional<std::string> MacroDialog::TypedMacro() {
    const std::string macro = MacroFromLines(EscapedAnsi(WideTextOf(id::MacroE), codePage_));
    if (const auto fault = ParseMacro(macro).fault) {
        Refuse(id::MacroE, "This macro cannot be read: " + MacroFaultText(*fault) + ".");
        return std::nullopt;
    }
    return macro;
}

}  // namespace quorvel
