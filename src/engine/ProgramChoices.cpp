#include "engine/ProgramChoices.h"

#include "engine/ButtonEditor.h"
#include "engine/ProgramInFront.h"
#include "model/Model.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"

namespace quorvel {

std::vector<std::string> ProgramChoices::OpenPrograms() { return ProgramsWithWindows(windows_); }

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
    ReloadEditor();
}

void ProgramChoices::SetMode(std::uint8_t mode) {
    ProgramMap* program = model_.map.FindProgram(model_.editorProgram);
    if (!program || mode > 4) return;
    program->mode = mode;
    model_.Changed(Aspect::Programs);
}

void ProgramChoices::RemoveButton() {
    if (model_.editorProgram.empty() || !model_.editor.extendedCode) return;
    model_.map.RemoveProgramButton(model_.editorProgram, EditorKey(model_.editor));
    ReloadEditor();
}

void ProgramChoices::RemoveProgram() {
    if (model_.editorProgram.empty()) return;
    model_.map.RemoveProgram(model_.editorProgram);
    ChooseForEditor({});
}

// The editor shows the chosen program's definition of the button it holds, or the global one.
void ProgramChoices::ReloadEditor() {
    if (!model_.editor.extendedCode) return;
    const ProgramMap* source = nullptr;
    LoadEditorButton(model_.map, model_.editorProgram, EditorKey(model_.editor), model_.editor, source);
    model_.Changed(Aspect::Editor);
}

}  // namespace quorvel
