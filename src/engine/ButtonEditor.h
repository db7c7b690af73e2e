#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/ButtonAction.h"
#include "model/ButtonProperties.h"

namespace quorvel {

class ButtonMap;
struct EditorButton;
struct Model;
struct ProgramMap;

// Loads the button's entries into the editor, section by section, from the program's sections
// when one is given, else from the global ones; a stored number beyond its list leaves the list
// without a choice.
ButtonProperties LoadButtonProperties(const ButtonMap& map, const std::string& key, EditorButton& editor,
                                      const ProgramMap* program = nullptr);

// The edited button's key in the map: its extended code, with "-Long" or "-Double" for its long
// or double press.
std::string EditorKey(const EditorButton& editor);

// How the status bar names the edited button: its name, else its key.
std::string EditedButtonName(const EditorButton& editor);

// The editor was filled anew: edits that were never saved and are gone now are reported in the
// status bar, and nothing is left unsaved.
void NoteDroppedEdits(Model& model, const EditorButton& edited);

// Loads the button into the editor as the editor's program defines it, or as the global map
// does where that program has no definition of its own (empty: the global map). Tells which
// program's sections it read, nothing for the global ones.
ButtonProperties LoadEditorButton(const ButtonMap& map, const std::string& editorProgram, const std::string& key,
                                  EditorButton& editor, const ProgramMap*& source);

// Commits the editor into the map in memory, under the edited button's key: the name into the
// global "Buttons" (a long or double press's only when it has one of its own), the rest into the program's
// sections when one is given, else into the global ones. Returns false, changing nothing, while
// no button has been read yet.
bool CommitEditor(const EditorButton& editor, ButtonMap& map, ProgramMap* program = nullptr);

}  // namespace quorvel
