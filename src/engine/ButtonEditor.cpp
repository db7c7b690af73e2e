#include "engine/ButtonEditor.h"

#include "actions/AppCommand.h"
#include "actions/KeyCodeValue.h"
#include "actions/KeyText.h"
#include "actions/Mouse.h"
#include "core/Text.h"
#include "model/Model.h"

namespace quorvel {
namespace {

// A decimal item index, low 8 bits kept; 0 when absent or not a number.
std::uint8_t ReadByte(const std::string* stored) {
    if (!stored) return 0;
    const auto number = ParseDecimal(*stored);
    return number ? static_cast<std::uint8_t>(*number) : 0;
}

int Choice(std::uint8_t index, const std::vector<std::string>& items) {
    return index < items.size() ? index : -1;
}

// Names are global, a long or double press's too. These keep no name of their own while they go
// by their unnamed one, so that they follow the button's name.
void CommitName(const EditorButton& editor, const std::string& key, ButtonMap& map) {
    if (editor.gesture != Gesture::Press) {
        const std::string buttonKey = MapKey(*editor.extendedCode);
        const std::string* buttonName = map.Lookup(Section::Buttons, buttonKey);
        const std::string unnamed = UnnamedGesture(buttonKey, buttonName ? *buttonName : "", editor.gesture);
        if (editor.name.empty() || editor.name == unnamed) {
            map.RemoveName(key);
            return;
        }
    }
    map[Section::Buttons].Set(key, editor.name);
}

}  // namespace

ButtonProperties LoadButtonProperties(const ButtonMap& map, const std::string& key, EditorButton& editor,
                                      const ProgramMap* program) {
    ButtonProperties properties;
    const auto lookup = [&](Section section) { return map.Lookup(program, section, key); };

    properties.action = ReadByte(lookup(Section::Actions));
    editor.action = Choice(properties.action, ActionNames());

    const std::string* repeat = lookup(Section::Repeat);
    properties.repeat = !repeat || *repeat == "1";
    editor.repeat = properties.repeat;

    const std::string* keys = lookup(Section::Keys);
    const auto keyValue = keys ? ParseHex(*keys) : std::nullopt;
    properties.keyCodeValue = keyValue ? static_cast<std::uint16_t>(*keyValue) : 0;
    properties.keyText = keyValue ? KeyText(properties.keyCodeValue) : "None";
    editor.keyText = properties.keyText;
    editor.keyCodeValue = properties.keyCodeValue & ~kKeyCodeWin;
    editor.win = (properties.keyCodeValue & kKeyCodeWin) != 0;

    properties.mouseAction = ReadByte(lookup(Section::Mouse));
    editor.mouseAction = Choice(properties.mouseAction, MouseActionNames());

    const std::string* application = lookup(Section::Applications);
    properties.applicationPath = application ? *application : std::string();
    editor.applicationPath = properties.applicationPath;

    properties.messageNumber = ReadByte(lookup(Section::Messages));
    editor.message = Choice(properties.messageNumber, AppCommandNames());

    const std::string* pace = lookup(Section::Pace);
    properties.pace = pace ? ParsePace(*pace) : std::nullopt;
    editor.pace = properties.pace;

    const std::string* macro = lookup(Section::Macros);
    properties.macro = macro ? *macro : std::string();
    editor.macro = properties.macro;

    return properties;
}

std::string EditorKey(const EditorButton& editor) {
    if (!editor.extendedCode) return {};
    return GestureKey(MapKey(*editor.extendedCode), editor.gesture);
}

std::string EditedButtonName(const EditorButton& editor) {
    return !editor.name.empty() ? editor.name : EditorKey(editor);
}

void NoteDroppedEdits(Model& model, const EditorButton& edited) {
    if (model.editorUnsaved && !(model.editor == edited)) {
        model.ShowStatus("Unsaved changes to '" + EditedButtonName(edited) + "' were discarded");
    }
    model.editorUnsaved = false;
}

ButtonProperties LoadEditorButton(const ButtonMap& map, const std::string& editorProgram, const std::string& key,
                                  EditorButton& editor, const ProgramMap*& source) {
    const ProgramMap* program = editorProgram.empty() ? nullptr : map.FindProgram(editorProgram);
    editor.ownDefinition = program && program->Defines(key);
    source = editor.ownDefinition ? program : nullptr;
    return LoadButtonProperties(map, key, editor, source);
}

bool CommitEditor(const EditorButton& editor, ButtonMap& map, ProgramMap* program) {
    if (!editor.extendedCode) return false;
    const std::string key = EditorKey(editor);
    std::uint16_t keyCodeValue = editor.keyCodeValue & ~kKeyCodeWin;
    if (editor.win) keyCodeValue |= kKeyCodeWin;

    CommitName(editor, key, map);
    const auto list = [&](Section section) -> SectionList& { return program ? (*program)[section] : map[section]; };
    list(Section::Repeat).Set(key, editor.repeat ? "1" : "0");
    list(Section::Actions).Set(key, std::to_string(editor.action));
    list(Section::Mouse).Set(key, std::to_string(editor.mouseAction));
    list(Section::Keys).Set(key, Hex(keyCodeValue, 4));
    list(Section::Applications).Set(key, editor.applicationPath);
    list(Section::Messages).Set(key, std::to_string(editor.message));
    if (editor.pace) {
        list(Section::Pace).Set(key, PaceText(*editor.pace));
    } else {
        map.RemoveEntry(program, Section::Pace, key);
    }
    if (!editor.macro.empty()) {
        list(Section::Macros).Set(key, editor.macro);
    } else {
        map.RemoveEntry(program, Section::Macros, key);
    }
    return true;
}

}  // namespace quorvel
