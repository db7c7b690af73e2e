#include "model/PressDefinition.h"

#include "model/Model.h"

namespace quorvel {

PressDefinition ChooseDefinition(const ButtonMap& map, const DefinitionFacts& facts) {
    const ProgramMap* program = facts.program.empty() ? nullptr : map.FindProgram(facts.program);
    // The long press is a button of its own, chosen as the button is, and it counts only where it
    // does something: a name alone, or a program's long press elsewhere, leaves the button as it is.
    const std::string longKey = LongPressKey(facts.key);
    const bool longOwn = program && program->Defines(longKey);
    const bool longDefined = map.GivesOutput(longOwn ? program : nullptr, longKey);
    if (!program) return {{}, false, facts.currentMode, longDefined, false};
    const EmulationMode mode = program->mode != 0 ? static_cast<EmulationMode>(program->mode) : facts.currentMode;
    const bool linesOnly = program->mode == static_cast<std::uint8_t>(EmulationMode::WinLIRC);
    return {program->name, program->Defines(facts.key), mode, longDefined, longOwn, linesOnly};
}

std::string LongPressName(const ButtonMap& map, std::string_view key, std::string_view buttonName) {
    const std::string* name = map.Lookup(Section::Buttons, LongPressKey(key));
    return name && !name->empty() ? *name : UnnamedLongPress(key, buttonName);
}

std::string UnnamedLongPress(std::string_view key, std::string_view buttonName) {
    return std::string(buttonName.empty() ? key : buttonName) + " (long)";
}

const ProgramMap* DefiningProgram(const ButtonMap& map, const PressDefinition& definition, bool longPress) {
    const bool own = longPress ? definition.longOwn : definition.own;
    return own ? map.FindProgram(definition.program) : nullptr;
}

}  // namespace quorvel
