#include "model/PressDefinition.h"

#include "model/Model.h"

namespace quorvel {

PressDefinition ChooseDefinition(const ButtonMap& map, const DefinitionFacts& facts) {
    const ProgramMap* program = facts.program.empty() ? nullptr : map.FindProgram(facts.program);
    // The long press is a button of its own, chosen as the button is.
    const std::string longKey = LongPressKey(facts.key);
    const bool longOwn = program && program->Defines(longKey);
    const bool longDefined = longOwn || map.Defines(longKey);
    if (!program) return {{}, false, facts.currentMode, longDefined, false};
    const EmulationMode mode = program->mode != 0 ? static_cast<EmulationMode>(program->mode) : facts.currentMode;
    const bool linesOnly = program->mode == static_cast<std::uint8_t>(EmulationMode::WinLIRC);
    return {program->name, program->Defines(facts.key), mode, longDefined, longOwn, linesOnly};
}

const ProgramMap* DefiningProgram(const ButtonMap& map, const PressDefinition& definition, bool longPress) {
    const bool own = longPress ? definition.longOwn : definition.own;
    return own ? map.FindProgram(definition.program) : nullptr;
}

}  // namespace quorvel
