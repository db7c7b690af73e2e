// Key code values and their texts. Any stored "Keys" value (with any other stored properties)
// loads into the editor, and what the editor then saves loads back into the same editor. The
// capture field shows the text of the value it captures, and the text of every key code value
// names its modifiers and its key.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "actions/KeyCapture.h"
#include "actions/KeyCodeValue.h"
#include "actions/KeyText.h"
#include "engine/ButtonEditor.h"
#include "model/ButtonMap.h"
#include "model/Model.h"

namespace quorvel {
namespace {

// The text of a value names its modifiers in order and the key by its name: read back as a
// macro step reads it, it gives a value with the same modifiers and the same text.
void CheckText(std::uint16_t value) {
    constexpr std::uint16_t kModifiers = kKeyCodeCtrl | kKeyCodeAlt | kKeyCodeShift;
    const std::string text = KeyText(value);
    if (text.empty()) {
        Require((value & kModifiers) == 0 && KeyName(value & kKeyPartMask).empty(),
                "only a value without modifiers and without a named key has no text");
        return;
    }
    const auto read = text == "None" ? std::optional<std::uint16_t>(0) : ParseKeyText(text);
    Require(read.has_value(), "a key text is modifiers and a key name");
    Require((*read & kModifiers) == (value & kModifiers), "a key text names the modifiers");
    Require(KeyText(*read) == text, "a key text reads back as a value with that text");
}

EditorButton Loaded(const ButtonMap& map, const std::string& key, std::uint32_t extendedCode) {
    EditorButton editor;
    editor.extendedCode = extendedCode;
    LoadButtonProperties(map, key, editor);
    return editor;
}

}  // namespace
}  // namespace quorvel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvel;
    FuzzedDataProvider input(data, size);

    const auto virtualKey = input.ConsumeIntegral<std::uint16_t>();
    const KeyModifiers held{input.ConsumeBool(), input.ConsumeBool(), input.ConsumeBool()};
    const CapturedKey captured = CaptureKeyDown(virtualKey, held);
    Require((captured.value & kKeyCodeWin) == 0, "the capture never sets the Win bit");
    Require(captured.text == KeyText(captured.value), "the capture field shows the key text of its value");
    CheckText(captured.value);
    CheckText(input.ConsumeIntegral<std::uint16_t>());

    const auto extendedCode = input.ConsumeIntegral<std::uint32_t>();
    const std::string key = MapKey(extendedCode);
    ButtonMap map;
    for (Section section : kSectionOrder) {
        if (input.ConsumeBool()) map[section].Append(key, input.ConsumeRandomLengthString(16));
    }
    const EditorButton first = Loaded(map, key, extendedCode);
    const auto stored = static_cast<std::uint16_t>(first.keyCodeValue | (first.win ? kKeyCodeWin : 0));
    Require(first.keyText == KeyText(stored), "the editor shows the text of the stored key code value");
    Require((first.keyCodeValue & kKeyCodeWin) == 0, "the editor keeps the Win bit apart");
    Require(CommitEditor(first, map), "a read button is saved");
    Require(Loaded(map, key, extendedCode) == first, "what the editor saves loads back unchanged");

    EditorButton capturing = first;
    capturing.keyCodeValue = captured.value;
    capturing.keyText = captured.text;
    Require(CommitEditor(capturing, map), "a read button is saved");
    // A bare Win shows no text where the cleared field showed "None".
    if (capturing.win && capturing.keyCodeValue == 0) capturing.keyText = "";
    Require(Loaded(map, key, extendedCode) == capturing, "a captured key loads back with its text");
    return 0;
}
