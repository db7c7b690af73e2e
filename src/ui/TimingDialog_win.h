#pragma once

#include "model/Model.h"
#include "ui/FormDialog_win.h"

namespace quorvel {

// "Timing": the settings' repeat delay and repeat interval, long-press time and double-press
// time, each typed in ms and taken within its bounds, and whether keystrokes carry scan codes.
class TimingDialog final : public FormDialog {
public:
    explicit TimingDialog(const Settings& shown);
    // The four times and the scan codes chosen with OK into the settings, which keep everything else.
    void ApplyTo(Settings& settings) const;

private:
    void OnInit() override;
    bool OnOk() override;
    void OnControl(int, int) override {}

    Settings chosen_;
};

}  // namespace quorvel
