#include "ui/TimingDialog_win.h"

#include <array>

#include "ui/ControlIds.h"
#include "ui/ControlStyles_win.h"

namespace quorvel {
namespace {

namespace id = control_id;

struct TimingField {
    int id;
    const char* label;
    const char* hint;
    std::uint32_t low, high;
    std::uint32_t Settings::*value;
};

constexpr TimingField kFields[] = {
    {id::RepeatDelayE, "Repeat delay:", "How long a held button waits before repeating", kMinRepeatDelay,
     kMaxRepeatDelay, &Settings::repeatDelay},
    {id::RepeatIntervalE, "Repeat interval:", "The time between the repeats of a held button", kMinRepeatInterval,
     kMaxRepeatInterval, &Settings::repeatInterval},
    {id::LongPressTimeE, "Long press time:", "How long a button is held for its long press", kMinLongPressTime,
     kMaxLongPressTime, &Settings::longPressTime},
    {id::DoublePressTimeE, "Double press time:", "How soon a second press makes a double press", kMinDoublePressTime,
     kMaxDoublePressTime, &Settings::doublePressTime},
};
constexpr int kRows = static_cast<int>(std::size(kFields));

// One row per field: its name, the field, its unit and bounds (filled in from the field's), and
// below them what it does; then the scan codes' box and what it is for. OK and Cancel at the
// bottom right.
constexpr int kWidth = 330;
constexpr int Top(int row) { return 10 + row * 44; }
constexpr int BoundsId(int row) { return 100 + row; }
constexpr int kFieldX = 124;
constexpr int kBoundsX = kFieldX + 54;
constexpr int kButtonsY = Top(kRows + 1) + 2;
constexpr int kHeight = kButtonsY + 33;

constexpr std::array<ControlSpec, 4 * kRows + 4> MakeControls() {
    std::array<ControlSpec, 4 * kRows + 4> controls{};
    std::size_t next = 0;
    for (int row = 0; row < kRows; ++row) {
        const TimingField& field = kFields[row];
        controls[next++] = {0, "STATIC", field.label, kLabel, 10, Top(row) + 4, kFieldX - 14, 13};
        controls[next++] = {field.id, "EDIT", "", kEdit | ES_NUMBER, kFieldX, Top(row), 48, 21};
        controls[next++] = {BoundsId(row), "STATIC", "", kLabel, kBoundsX, Top(row) + 4, kWidth - 10 - kBoundsX, 13};
        controls[next++] = {0, "STATIC", field.hint, kLabel, 10, Top(row) + 25, kWidth - 20, 13};
    }
    controls[next++] = {id::ScanCodesCB, "BUTTON", "Keystrokes with scan codes", kCheck, 10, Top(kRows),
                        kWidth - 20, 16};
    controls[next++] = {0, "STATIC", "For games and remote desktops, which read them", kLabel, 10,
                        Top(kRows) + 20, kWidth - 20, 13};
    controls[next++] = {IDOK, "BUTTON", "OK", kPush | BS_DEFPUSHBUTTON, kWidth - 166, kButtonsY, 75, 23};
    controls[next++] = {IDCANCEL, "BUTTON", "Cancel", kPush, kWidth - 85, kButtonsY, 75, 23};
    return controls;
}
constexpr auto kControls = MakeControls();

}  // namespace

TimingDialog::TimingDialog(const Settings& shown)
    : FormDialog("Timing", kControls, kWidth, kHeight), chosen_(shown) {}

void TimingDialog::ApplyTo(Settings& settings) const {
    for (const TimingField& field : kFields) settings.*field.value = chosen_.*field.value;
    settings.scanCodes = chosen_.scanCodes;
}

void TimingDialog::OnInit() {
    for (int row = 0; row < kRows; ++row) {
        const TimingField& field = kFields[row];
        SetText(field.id, std::to_string(chosen_.*field.value));
        SetText(BoundsId(row), MsBounds(field.low, field.high));
    }
    SetChecked(id::ScanCodesCB, chosen_.scanCodes);
}

// A time beyond its bounds is taken as the bound; one that is no number keeps the dialog open.
bool TimingDialog::OnOk() {
    Settings chosen = chosen_;
    for (const TimingField& field : kFields) {
        const auto ms = TypedMs(field.id, field.label, field.low, field.high);
        if (!ms) return false;
        chosen.*field.value = *ms;
    }
    chosen.scanCodes = IsChecked(id::ScanCodesCB);
    chosen_ = chosen;
    return true;
}

}  // namespace quorvel
