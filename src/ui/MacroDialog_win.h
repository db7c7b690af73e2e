#pragma once

#include <functional>
#include <optional>
#include <string>

#include "ui/FormDialog_win.h"

namespace quorvel {

class CodePage;

// "Macro": the steps of one button's macro, one a line, in any character; OK takes them once
// they can be read, "Try" runs them as the button would.
class MacroDialog final : public FormDialog {
public:
    // The button in the words the dialog names it by; its macro's text, empty for none; the code
    // page the text is held in; what runs a macro's text two seconds later.
    MacroDialog(std::string button, std::string macro, CodePage& codePage,
                std::function<void(const std::string&)> tryMacro);
    // The macro's text chosen with OK: empty for none.
    const std::string& Chosen() const { return chosen_; }

private:
    void OnInit() override;
    bool OnOk() override;
    void OnControl(int controlId, int code) override;
    // The field's text as a macro, or nothing when it cannot be read (which is said).
    std::optional<std::string> TypedMacro();

    std::string button_;
    std::string chosen_;
    CodePage& codePage_;
    std::function<void(const std::string&)> tryMacro_;
};

}  // namespace quorvel
