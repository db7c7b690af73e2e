#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

std::string AsciiUpperCase(std::string_view text);
// Spaces and tabs, which separate the words of a command or an address.
inline constexpr std::string_view kBlanks = " \t";
// The text without the blanks around it.
std::string_view TrimBlanks(std::string_view text);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// A signed 32-bit decimal integer with an optional sign; nothing else around it.
std::optional<std::int32_t> ParseDecimal(std::string_view text);
// Hexadecimal digits of a number that fits in 32 bits; nothing else around them.
std::optional<std::uint32_t> ParseHex(std::string_view text);

// "%.2X", "%.8X" and similar: upper-case hex with at least the given number of digits.
std::string Hex(std::uint32_t value, int minDigits);

}  // namespace quorvel
