#include "engine/PressOsd.h"

#include "actions/AppCommand.h"
#include "actions/Mouse.h"
#include "actions/SleepTimer.h"
#include "model/Model.h"

namespace quorvel {
namespace {

constexpr std::uint8_t kSleepTimerAction = 5;

void AppendLine(std::string& text, const std::string& line) {
    if (!text.empty()) text += '\r';
    text += line;
}

}  // namespace

std::string ComposePressOsd(const std::string& buttonName, const ButtonProperties& properties, const Model& model,
                            bool sleepTimerRunning) {
    std::string text;
    if (!buttonName.empty()) AppendLine(text, buttonName);

    const auto& actions = ActionNames();
    if (properties.action != 0 && properties.action < actions.size()) {
        AppendLine(text, actions[properties.action]);
        if (model.settings.sleepOsd && properties.action == kSleepTimerAction) {
            AppendLine(text, SleepTimerOsdLine(model.settings, sleepTimerRunning));
        }
    }

    const EditorButton& editor = model.editor;
    if (model.mode == EmulationMode::WinLIRC) AppendLine(text, "WinLIRC");
    if (model.mode == EmulationMode::Keys && editor.keyText != "None") AppendLine(text, editor.keyText);
    if (model.mode == EmulationMode::Mouse && editor.mouseAction > 0) {
        AppendLine(text, MouseActionNames()[static_cast<std::size_t>(editor.mouseAction)]);
    }
    const auto& commands = AppCommandNames();
    if (properties.messageNumber != 0 && properties.messageNumber < commands.size()) {
        AppendLine(text, commands[properties.messageNumber]);
    }
    return text;
}

}  // namespace quorvel
