#include "model/PressDefinition.h"

#include "model/Model.h"

namespace quorvel {

PressDefinition ChooseDefinition(const ButtonMap& map, const DefinitionFacts& facts) {
    const ProgramMap* program = facts.program.empty() ? nullptr : map.FindProgram(facts.program);
    if (!program) return {{}, false, facts.currentMode};
    const EmulationMode mode = program->mode != 0 ? static_cast<EmulationMode>(program->mode) : facts.currentMode;
    return {program->name, program->Defines(facts.key), mode};
}

const ProgramMap* DefiningProgram(const ButtonMap& map, const PressDefinition& definition) {
    return definition.own ? map.FindProgram(definition.program) : nullptr;
}

}  // namespace quorvel
