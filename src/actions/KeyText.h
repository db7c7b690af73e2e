#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

// The name of a virtual key ("A", "Num 5", "Browser Back"), empty for a key without one.
std::string KeyName(std::uint16_t keyPart);

// The readable form of a key code value: "Ctrl+Alt+Delete", "None" for 0, "" for a bare Win.
std::string KeyText(std::uint16_t keyCodeValue);

// The key code value of a combination written as KeyText writes it, in any case, with "Win+"
// allowed among the modifiers and a modifier alone ("Alt") taken as that modifier; nothing for
// any other text.
std::optional<std::uint16_t> ParseKeyText(std::string_view text);

}  // namespace quorvel
