#include "ui/PaceDialog_win.h"

#include <utility>

#include "core/Text.h"
#include "ui/ControlIds.h"
#include "ui/ControlStyles_win.h"

namespace quorvel {
namespace {

namespace id = control_id;

constexpr char kDelayLabel[] = "Repeat delay:";
constexpr char kIntervalLabel[] = "Repeat interval:";
constexpr char kFastestLabel[] = "Fastest interval:";
constexpr int kDelayBoundsId = 101;
constexpr int kIntervalBoundsId = 102;
constexpr int kFastestBoundsId = 103;
constexpr int kOwnFigures[] = {id::PaceDelayE, id::PaceIntervalE, id::PaceFastestE};

// The button, the two choices, the own figures indented below the second, OK and Cancel.
constexpr int kWidth = 330;
constexpr int kWide = kWidth - 20;
constexpr int kFigureX = 28;
constexpr int kFieldX = 128;
constexpr int kLabelWidth = kFieldX - kFigureX - 4;
constexpr int kBoundsX = kFieldX + 54;
constexpr int kBoundsWidth = kWidth - 10 - kBoundsX;
constexpr int Top(int row) { return 72 + row * 26; }
constexpr int kButtonsY = Top(3) + 24;
constexpr int kHeight = kButtonsY + 33;

constexpr ControlSpec kControls[] = {
    {id::PaceButtonL, "STATIC", "", kLabel | SS_ENDELLIPSIS, 10, 10, kWide, 13},
    {id::PaceSettingsRB, "BUTTON", "", kRadio | WS_GROUP | WS_TABSTOP, 10, 30, kWide, 16},
    {id::PaceOwnRB, "BUTTON", "Own pace:", kRadio, 10, 50, 90, 16},
    {0, "STATIC", kDelayLabel, kLabel | WS_GROUP, kFigureX, Top(0) + 4, kLabelWidth, 13},
    {id::PaceDelayE, "EDIT", "", kEdit | ES_NUMBER, kFieldX, Top(0), 48, 21},
    {kDelayBoundsId, "STATIC", "", kLabel, kBoundsX, Top(0) + 4, kBoundsWidth, 13},
    {0, "STATIC", kIntervalLabel, kLabel, kFigureX, Top(1) + 4, kLabelWidth, 13},
    {id::PaceIntervalE, "EDIT", "", kEdit | ES_NUMBER, kFieldX, Top(1), 48, 21},
    {kIntervalBoundsId, "STATIC", "", kLabel, kBoundsX, Top(1) + 4, kBoundsWidth, 13},
    {0, "STATIC", kFastestLabel, kLabel, kFigureX, Top(2) + 4, kLabelWidth, 13},
    {id::PaceFastestE, "EDIT", "", kEdit | ES_NUMBER, kFieldX, Top(2), 48, 21},
    {kFastestBoundsId, "STATIC", "", kLabel, kBoundsX, Top(2) + 4, kBoundsWidth, 13},
    {0, "STATIC", "Optional: the repeats speed up to it while held", kLabel, kFigureX, Top(2) + 25,
     kWidth - 10 - kFigureX, 13},
    {IDOK, "BUTTON", "OK", kPush | BS_DEFPUSHBUTTON, kWidth - 166, kButtonsY, 75, 23},
    {IDCANCEL, "BUTTON", "Cancel", kPush, kWidth - 85, kButtonsY, 75, 23},
};

}  // namespace

PaceDialog::PaceDialog(std::string button, const std::optional<Pace>& own, const Pace& settings)
    : FormDialog("Pace", kControls, kWidth, kHeight), button_(std::move(button)), chosen_(own), settings_(settings) {}

// The fields start from the pace that applies now; an empty fastest interval means no speed-up.
void PaceDialog::OnInit() {
    SetText(id::PaceButtonL, button_);
    SetText(id::PaceSettingsRB, "Use the settings' pace (" + std::to_string(settings_.delay) + " ms, then every " +
                                    std::to_string(settings_.interval) + " ms)");
    const Pace shown = chosen_.value_or(settings_);
    SetText(id::PaceDelayE, std::to_string(shown.delay));
    SetText(id::PaceIntervalE, std::to_string(shown.interval));
    SetText(id::PaceFastestE, shown.fastest < shown.interval ? std::to_string(shown.fastest) : "");
    SetText(kDelayBoundsId, MsBounds(kMinRepeatDelay, kMaxRepeatDelay));
    SetText(kIntervalBoundsId, MsBounds(kMinRepeatInterval, kMaxRepeatInterval));
    SetText(kFastestBoundsId, MsBounds(kMinRepeatInterval, kMaxRepeatInterval) + " or empty");
    const int choice = chosen_ ? id::PaceOwnRB : id::PaceSettingsRB;
    SetChecked(choice, true);
    SendMessageA(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(choice)), TRUE);
    EnableOwnFigures();
}

bool PaceDialog::OnOk() {
    if (!IsChecked(id::PaceOwnRB)) {
        chosen_.reset();
        return true;
    }
    const auto delay = TypedMs(id::PaceDelayE, kDelayLabel, kMinRepeatDelay, kMaxRepeatDelay);
    if (!delay) return false;
    const auto interval = TypedMs(id::PaceIntervalE, kIntervalLabel, kMinRepeatInterval, kMaxRepeatInterval);
    if (!interval) return false;
    std::optional<std::uint32_t> fastest = interval;
    if (!TrimBlanks(TextOf(id::PaceFastestE)).empty()) {
        fastest = TypedMs(id::PaceFastestE, kFastestLabel, kMinRepeatInterval, kMaxRepeatInterval);
        if (!fastest) return false;
    }
    chosen_ = ClampPace({*delay, *interval, *fastest});
    return true;
}

void PaceDialog::OnControl(int controlId, int code) {
    if ((controlId == id::PaceSettingsRB || controlId == id::PaceOwnRB) && code == BN_CLICKED) EnableOwnFigures();
}

void PaceDialog::EnableOwnFigures() {
    const bool own = IsChecked(id::PaceOwnRB);
    for (const int field : kOwnFigures) EnableWindow(Control(field), own);
}

}  // namespace quorvel
