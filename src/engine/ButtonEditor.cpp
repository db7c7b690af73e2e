#include "engine/ButtonEditor.h"

#include "actions/KeyText.h"
#include "engine/ButtonMap.h"
#include "engine/Text.h"
#include "ui/Form.h"

namespace quorvel {
namespace {

constexpr std::uint16_t kWinBit = 0x1000;

// A decimal item index, low 8 bits kept; 0 when absent or not a number.
std::uint8_t ReadByte(const std::string* stored) {
    if (!stored) return 0;
    const auto number = ParseDecimal(*stored);
    return number ? static_cast<std::uint8_t>(*number) : 0;
}

}  // namespace

ButtonProperties LoadButtonProperties(const ButtonMap& map, const std::string& key, Form& form) {
    ButtonProperties properties;

    properties.action = ReadByte(map.Lookup(Section::Actions, key));
    form.SetItemIndex(ListControl::NameActionCB, properties.action);

    const std::string* repeat = map.Lookup(Section::Repeat, key);
    form.SetChecked(CheckControl::KeyRepeatCB, !repeat || *repeat == "1");

    const std::string* keys = map.Lookup(Section::Keys, key);
    const auto keyValue = keys ? ParseHex(*keys) : std::nullopt;
    properties.keyCodeValue = keyValue ? static_cast<std::uint16_t>(*keyValue) : 0;
    form.SetText(TextControl::KeyE, keyValue ? KeyText(properties.keyCodeValue) : "None");
    form.SetKeyCodeValue(properties.keyCodeValue & ~kWinBit);
    form.SetChecked(CheckControl::LWinCB, (properties.keyCodeValue & kWinBit) != 0);

    properties.mouseAction = ReadByte(map.Lookup(Section::Mouse, key));
    form.SetItemIndex(ListControl::MsCB, properties.mouseAction);

    const std::string* application = map.Lookup(Section::Applications, key);
    properties.applicationPath = application ? *application : std::string();
    form.SetText(TextControl::RunE, properties.applicationPath);

    properties.messageNumber = ReadByte(map.Lookup(Section::Messages, key));
    form.SetItemIndex(ListControl::NameMessageCB, properties.messageNumber);

    return properties;
}

bool SaveButtonProperties(Form& form, ButtonMap& map) {
    const std::string key = form.GetText(TextControl::NameRCCodeExST);
    // Until a button has been read the editor shows a placeholder, not a button's code.
    if (!ParseHex(key) || key.size() != 8) return false;

    std::uint16_t keyCodeValue = form.KeyCodeValue() & ~kWinBit;
    if (form.IsChecked(CheckControl::LWinCB)) keyCodeValue |= kWinBit;

    map[Section::Buttons].Set(key, form.GetText(TextControl::NameE));
    map[Section::Repeat].Set(key, form.IsChecked(CheckControl::KeyRepeatCB) ? "1" : "0");
    map[Section::Actions].Set(key, std::to_string(form.GetItemIndex(ListControl::NameActionCB)));
    map[Section::Mouse].Set(key, std::to_string(form.GetItemIndex(ListControl::MsCB)));
    map[Section::Keys].Set(key, Hex(keyCodeValue, 4));
    map[Section::Applications].Set(key, form.GetText(TextControl::RunE));
    map[Section::Messages].Set(key, std::to_string(form.GetItemIndex(ListControl::NameMessageCB)));
    return true;
}

}  // namespace quorvel
