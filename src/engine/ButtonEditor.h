#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorvel {

class ButtonMap;
struct EditorButton;

// What the tick needs of a button, as loaded into the editor.
struct ButtonProperties {
    std::uint8_t action = 0;
    std::uint16_t keyCodeValue = 0;  // all 16 bits, Win included
    std::uint8_t mouseAction = 0;
    std::uint8_t messageNumber = 0;
    std::string applicationPath;
};

// The editor's list of special actions; their indexes are the stored action numbers.
const std::vector<std::string>& ActionNames();

// Loads the button's entries into the editor, section by section; a stored number beyond its
// list leaves the list without a choice.
ButtonProperties LoadButtonProperties(const ButtonMap& map, const std::string& key, EditorButton& editor);

// How the status bar names the edited button: its name, else its extended code.
std::string EditedButtonName(const EditorButton& editor);

// Commits the editor into the map in memory, under the edited button's key. Returns false,
// changing nothing, while no button has been read yet.
bool CommitEditor(const EditorButton& editor, ButtonMap& map);

}  // namespace quorvel
