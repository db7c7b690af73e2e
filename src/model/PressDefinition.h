#pragma once

#include <string>
#include <string_view>

#include "model/ButtonMap.h"

namespace quorvel {

enum class EmulationMode;

// What is known when a press begins.
struct DefinitionFacts {
    // The executable's file name of the program in front; empty when none can be told.
    std::string_view program;
    std::string_view key;
    EmulationMode currentMode;
};

// The definition a whole press uses, fixed when it begins.
struct PressDefinition {
    // The program in front as the map names it; empty when the map has nothing of its own for it.
    std::string program;
    // The program defines the button itself; else the global definition applies.
    bool own = false;
    EmulationMode mode{};
    // The button's long press ("<key>-Long") gives an output where the press applies; longOwn:
    // the program defines it itself, else the global definition applies.
    bool longDefined = false;
    bool longOwn = false;
    // The program's own mode is WinLIRC: its presses give their lines and their actions, but no
    // key, mouse action or application command.
    bool linesOnly = false;
    // The same for the button's double press ("<key>-Double").
    bool doubleDefined = false;
    bool doubleOwn = false;
    friend bool operator==(const PressDefinition&, const PressDefinition&) = default;
};

PressDefinition ChooseDefinition(const ButtonMap& map, const DefinitionFacts& facts);

// The name a gesture is announced and edited with: the button's name for the button itself; a
// long or double press's own name, else its unnamed one.
std::string GestureName(const ButtonMap& map, std::string_view key, std::string_view buttonName, Gesture gesture);
// The button's name (or its key when it has none) followed by " (long)" or " (double)".
std::string UnnamedGesture(std::string_view key, std::string_view buttonName, Gesture gesture);

// The program whose sections a press's gesture reads; nothing for the global ones.
const ProgramMap* DefiningProgram(const ButtonMap& map, const PressDefinition& definition,
                                  Gesture gesture = Gesture::Press);

}  // namespace quorvel
