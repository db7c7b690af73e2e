#pragma once

#include <cstdint>
#include <string>

namespace quorvel {

// The name of a virtual key ("A", "Num 5", "Browser Back"), empty for a key without one.
std::string KeyName(std::uint16_t keyPart);

// The readable form of a key code value: "Ctrl+Alt+Delete", "None" for 0, "" for a bare Win.
std::string KeyText(std::uint16_t keyCodeValue);

}  // namespace quorvel
