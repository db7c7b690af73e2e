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

}  // namespace

const std::vector<std::string>& ActionNames() {
    // Indexed by ButtonAction.
    static const std::vector<std::string> names = {"None",     "Sleep",       "Hibernate",
                                                   "Shutdown", "Change Mode", "Sleep Timer"};
    return names;
}

ButtonProperties LoadButtonProperties(const ButtonMap& map, const std::string& key, EditorButton& editor) {
    ButtonProperties properties;

    properties.action = ReadByte(map.Lookup(Section::Actions, key));
    editor.action = Choice(properties.action, ActionNames());

    const std::string* repeat = map.Lookup(Section::Repeat, key);
    editor.repeat = !repeat || *repeat == "1";

    const std::string* keys = map.Lookup(Section::Keys, key);
    const auto keyValue = keys ? ParseHex(*keys) : std::nullopt;
    properties.keyCodeValue = keyValue ? static_cast<std::uint16_t>(*keyValue) : 0;
    editor.keyText = keyValue ? KeyText(properties.keyCodeValue) : "None";
    editor.keyCodeValue = properties.keyCodeValue & ~kKeyCodeWin;
    editor.win = (properties.keyCodeValue & kKeyCodeWin) != 0;

    properties.mouseAction = ReadByte(map.Lookup(Section::Mouse, key));
    editor.mouseAction = Choice(properties.mouseAction, MouseActionNames());

    const std::string* application = map.Lookup(Section::Applications, key);
    properties.applicationPath = application ? *application : std::string();
    editor.applicationPath = properties.applicationPath;

    properties.messageNumber = ReadByte(map.Lookup(Section::Messages, key));
    editor.message = Choice(properties.messageNumber, AppCommandNames());

    return properties;
}

std::string EditedButtonName(const EditorButton& editor) {
    if (!editor.name.empty() || !editor.extendedCode) return editor.name;
    return MapKey(*editor.extendedCode);
}

bool CommitEditor(const EditorButton& editor, ButtonMap& map) {
    if (!editor.extendedCode) return false;
    const std::string key = MapKey(*editor.extendedCode);
    std::uint16_t keyCodeValue = editor.keyCodeValue & ~kKeyCodeWin;
    if (editor.win) keyCodeValue |= kKeyCodeWin;

    map[Section::Buttons].Set(key, editor.name);
    map[Section::Repeat].Set(key, editor.repeat ? "1" : "0");
    map[Section::Actions].Set(key, std::to_string(editor.action));
    map[Section::Mouse].Set(key, std::to_string(editor.mouseAction));
    map[Section::Keys].Set(key, Hex(keyCodeValue, 4));
    map[Section::Applications].Set(key, editor.applicationPath);
    map[Section::Messages].Set(key, std::to_string(editor.message));
    return true;
}

}  // namespace quorvel
