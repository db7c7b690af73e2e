#include "engine/ProgramChoices.h"

#include "engine/ButtonEditor.h"
#include "engine/ProgramInFront.h"
#include "model/Model.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"

namespace quorvel {

std::vector<std::string> ProgramChoices::OpenPrograms() { return ProgramsWithWindows(windows_, model_.map.Letters()); }

bool ProgramChoices::Add(const std::string& nameOrPath) {
    std::string name(SplitPath(nameOrPath).fileName);
    // A program is known by its executable's file name, which always has an extension: a name
    // typed without one would never match.
    const bool completed = !name.empty() && name.find('.') == std::string::npos;
    if (completed) name += ".exe";
    if (const std::string fault = ProgramNameFault(name); !fault.empty()) {
        dialogs_.ShowMessage(fault, MessageKind::Error);
        return false;
    }
    if (!model_.map.FindProgram(name) && model_.map.Programs().size() >= kMaxPrograms) {
        dialogs_.ShowMessage("No more than " + std::to_string(kMaxPrograms) + " programs can have definitions.",
                             MessageKind::Error);
        return false;
    }
    ChooseForEditor(model_.map.AddProgram(name).name);
    if (completed) model_.ShowStatus("Added " + name + ": a program's name ends in .exe");
    return true;
}

void ProgramChoices::ChooseForEditor(const std::string& name) {
    const ProgramMap* program = name.empty() ? nullptr : model_.map.FindProgram(name);
    model_.editorProgram = program ? program->name : std::string();
    model_.Changed(Aspect::Programs);
    if (!model_.editorUnsaved) {
        ReloadEditor();
        return;
    }
    // Edits not yet saved are most likely meant for the program chosen now: they stay, and the
    // save button files them under it.
    EditorButton& editor = model_.editor;
    editor.ownDefinition = program && editor.extendedCode && program->Defines(EditorKey(editor));
    model_.Changed(Aspect::Editor);
}

void ProgramChoices::SetMode(std::uint8_t mode) {
    ProgramMap* program = model_.map.FindProgram(model_.editorProgram);
    if (!program || (mode != 0 && !IsModeNumber(mode))) return;
    program->mode = mode;
    model_.Changed(Aspect::Programs);
}

void ProgramChoices::RemoveButton() {
    if (model_.editorProgram.empty() || !model_.editor.extendedCode) return;
    model_.map.RemoveProgramButton(model_.editorProgram, EditorKey(model_.editor));
    ReloadEditor();
}

void ProgramChoices::RemoveProgram() {
    const ProgramMap* program = model_.map.FindProgram(model_.editorProgram);
    if (!program) return;
    // Its definitions would be gone at the next save, with no way back.
    const std::size_t buttons = program->DefinedKeys().size();
    const std::string question = "Remove " + program->name + " and its own definitions of " +
                                 std::to_string(buttons) + (buttons == 1 ? " button?" : " buttons?");
    if (buttons > 0 && !dialogs_.Ask(question, MessageKind::Question)) return;
    model_.map.RemoveProgram(model_.editorProgram);
    model_.editorProgram.clear();
    model_.Changed(Aspect::Programs);
    ReloadEditor();
}

// The editor shows the chosen program's definition of the button it holds, or the global one,
// and the stored name, in place of any edits.
void ProgramChoices::ReloadEditor() {
    EditorButton& editor = model_.editor;
    if (!editor.extendedCode) return;
    const EditorButton edited = editor;
    const std::string buttonKey = MapKey(*editor.extendedCode);
    const std::string* name = model_.map.Lookup(Section::Buttons, buttonKey);
    if (editor.gesture != Gesture::Press) {
        editor.name = GestureName(model_.map, buttonKey, name ? *name : std::string(), editor.gesture);
    } else if (name) {
        editor.name = *name;
    }
    const ProgramMap* source = nullptr;
    LoadEditorButton(model_.map, model_.editorProgram, EditorKey(editor), editor, source);
    NoteDroppedEdits(model_, edited);
    model_.Changed(Aspect::Editor);
}

}  // namespace quorvel
