#include "engine/PressOsd.h"

#include "actions/SleepTimer.h"
#include "engine/EmulationMode.h"
#include "settings/ProgramSettings.h"
#include "ui/Form.h"

namespace quorvel {
namespace {

constexpr std::uint8_t kSleepTimerAction = 5;

void AppendLine(std::string& text, const std::string& line) {
    if (!text.empty()) text += '\r';
    text += line;
}

}  // namespace

std::string ComposePressOsd(const std::string& buttonName, const ButtonProperties& properties, const Form& form,
                            const ProgramSettings& settings, bool sleepTimerRunning) {
    std::string text;
    if (!buttonName.empty()) AppendLine(text, buttonName);

    const auto& actions = ActionNames();
    if (properties.action != 0 && properties.action < actions.size()) {
        AppendLine(text, actions[properties.action]);
        if (settings.sleepOsd && properties.action == kSleepTimerAction) {
            AppendLine(text, SleepTimerOsdLine(settings, sleepTimerRunning));
        }
    }

    const EmulationMode mode = CurrentMode(form);
    if (mode == EmulationMode::WinLIRC) AppendLine(text, "WinLIRC");
    if (mode == EmulationMode::Keys) {
        const std::string keyText = form.GetText(TextControl::KeyE);
        if (keyText != "None") AppendLine(text, keyText);
    }
    if (mode == EmulationMode::Mouse) {
        const int mouseIndex = form.GetItemIndex(ListControl::MsCB);
        if (mouseIndex > 0) AppendLine(text, form.ItemText(ListControl::MsCB, mouseIndex));
    }
    if (properties.messageNumber != 0) {
        const std::string caption = form.ItemText(ListControl::NameMessageCB, properties.messageNumber);
        if (!caption.empty()) AppendLine(text, caption);
    }
    return text;
}

}  // namespace quorvel
