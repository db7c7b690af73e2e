#pragma once

#include <cstdint>

namespace quorvel {

// A key combination in 16 bits: a virtual-key code in the low 12 bits and one bit per modifier.
constexpr std::uint16_t kKeyPartMask = 0x0FFF;
constexpr std::uint16_t kKeyCodeWin = 0x1000;
constexpr std::uint16_t kKeyCodeShift = 0x2000;
constexpr std::uint16_t kKeyCodeAlt = 0x4000;
constexpr std::uint16_t kKeyCodeCtrl = 0x8000;

}  // namespace quorvel
