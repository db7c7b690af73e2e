#include "engine/PressOsd.h"

#include "actions/AppCommand.h"
#include "actions/Mouse.h"
#include "actions/SleepTimer.h"
#include "model/ButtonAction.h"
#include "model/Model.h"

namespace quorvel {
namespace {

void AppendLine(std::string& text, const std::string& line) {
    if (!text.empty()) text += '\r';
    text += line;
}

}  // namespace

std::string ComposePressOsd(const std::string& buttonName, const ButtonProperties& properties,
                            const Settings& settings, EmulationMode mode, bool sleepTimerRunning) {
    std::string text;
    if (!buttonName.empty()) AppendLine(text, buttonName);

    const auto& actions = ActionNames();
    const ButtonAction action = ActionOf(properties.action);
    if (action != ButtonAction::None) {
        AppendLine(text, actions[properties.action]);
        if (settings.sleepOsd && action == ButtonAction::SleepTimer) {
            AppendLine(text, SleepTimerOsdLine(settings, sleepTimerRunning));
        }
    }

    if (mode == EmulationMode::WinLIRC) AppendLine(text, "WinLIRC");
    if (mode == EmulationMode::Keys && properties.keyText != "None") AppendLine(text, properties.keyText);
    const auto& mouseActions = MouseActionNames();
    if (mode == EmulationMode::Mouse && properties.mouseAction > 0 && properties.mouseAction < mouseActions.size()) {
        AppendLine(text, mouseActions[properties.mouseAction]);
    }
    const auto& commands = AppCommandNames();
    if (properties.messageNumber != 0 && properties.messageNumber < commands.size()) {
        AppendLine(text, commands[properties.messageNumber]);
    }
    return text;
}

}  // namespace quorvel
