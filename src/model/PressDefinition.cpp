#include "model/PressDefinition.h"

#include "model/Model.h"

namespace quorvel {

PressDefinition ChooseDefinition(const ButtonMap& map, const DefinitionFacts& facts) {
    const ProgramMap* program = facts.program.empty() ? nullptr : map.FindProgram(facts.program);
    // Long and double presses are buttons of their own, chosen as the button is, and they count
    // only where they do something: a name alone, or a program's gesture elsewhere, leaves the
    // button as it is.
    const auto gesture = [&](Gesture which, bool& defined, bool& own) {
        const std::string key = GestureKey(facts.key, which);
        own = program && program->Defines(key);
        defined = map.GivesOutput(own ? program : nullptr, key);
    };
    PressDefinition definition;
    definition.mode = facts.currentMode;
    gesture(Gesture::Long, definition.longDefined, definition.longOwn);
    gesture(Gesture::Double, definition.doubleDefined, definition.doubleOwn);
    if (!program) return definition;
    definition.program = program->name;
    definition.own = program->Defines(facts.key);
    if (program->mode != 0) definition.mode = static_cast<EmulationMode>(program->mode);
    definition.linesOnly = program->mode == static_cast<std::uint8_t>(EmulationMode::WinLIRC);
    return definition;
}

std::string GestureName(const ButtonMap& map, std::string_view key, std::string_view buttonName, Gesture gesture) {
    if (gesture == Gesture::Press) return std::string(buttonName);
    const std::string* name = map.Lookup(Section::Buttons, GestureKey(key, gesture));
    return name && !name->empty() ? *name : UnnamedGesture(key, buttonName, gesture);
}

std::string UnnamedGesture(std::string_view key, std::string_view buttonName, Gesture gesture) {
    const char* suffix = gesture == Gesture::Long ? " (long)" : gesture == Gesture::Double ? " (double)" : "";
    return std::string(buttonName.empty() ? key : buttonName) + suffix;
}

const ProgramMap* DefiningProgram(const ButtonMap& map, const PressDefinition& definition, Gesture gesture) {
    const bool own = gesture == Gesture::Long     ? definition.longOwn
                     : gesture == Gesture::Double ? definition.doubleOwn
                                                  : definition.own;
    return own ? map.FindProgram(definition.program) : nullptr;
}

}  // namespace quorvel
