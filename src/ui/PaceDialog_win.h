#pragma once

#include <optional>
#include <string>

#include "model/Pace.h"
#include "ui/FormDialog_win.h"

namespace quorvel {

// "Pace": how one button repeats while held, the settings' pace or its own delay, interval and
// optional fastest interval, each typed in ms and taken within its bounds.
class PaceDialog final : public FormDialog {
public:
    // The button in the words the dialog names it by; its own pace, nothing while the settings'
    // applies.
    PaceDialog(std::string button, const std::optional<Pace>& own, const Pace& settings);
    // The pace chosen with OK: nothing for the settings' pace.
    const std::optional<Pace>& Chosen() const { return chosen_; }

private:
    void OnInit() override;
    bool OnOk() override;
    void OnControl(int controlId, int code) override;
    void EnableOwnFigures();

    std::string button_;
    std::optional<Pace> chosen_;
    Pace settings_;
};

}  // namespace quorvel
