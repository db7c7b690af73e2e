#pragma once

#include <cstdint>

namespace quorvel {

// Extends a 32-bit millisecond tick count, which wraps after 49.7 days, to 64 bits. The state
// is the last result: the number of wraps in its upper half, the last tick seen in its lower.
// A tick below the last one seen means the counter has wrapped, so the state must be brought
// up to date at least once per wrap period; a caller that misses one runs slow, never back.
constexpr std::uint64_t ExtendTickCount(std::uint64_t state, std::uint32_t tick) {
    std::uint64_t wraps = state >> 32;
    if (tick < static_cast<std::uint32_t>(state)) ++wraps;
    return (wraps << 32) | tick;
}

}  // namespace quorvel
