#pragma once

#include <cstdint>
#include <string>

namespace quorvel {

class ButtonMap;
class Form;

// What the tick needs of a button, as loaded into the editor.
struct ButtonProperties {
    std::uint8_t action = 0;
    std::uint16_t keyCodeValue = 0;  // all 16 bits, Win included
    std::uint8_t mouseAction = 0;
    std::uint8_t messageNumber = 0;
    std::string applicationPath;
};

// Fills the editor's property controls from the map, section by section.
ButtonProperties LoadButtonProperties(const ButtonMap& map, const std::string& key, Form& form);

// Commits the editor into the map in memory, under the key NameRCCodeExST shows.
// Returns false, changing nothing, while no button has been read yet.
bool SaveButtonProperties(Form& form, ButtonMap& map);

}  // namespace quorvel
