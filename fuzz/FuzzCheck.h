#pragma once

#include <cstdio>
#include <cstdlib>

namespace quorvel {

// A property of the code under test that an input broke: libFuzzer takes the abort as a crash
// and keeps the input.
inline void Require(bool holds, const char* property) {
    if (holds) return;
    std::fprintf(stderr, "Broken: %s\n", property);
    std::abort();
}

}  // namespace quorvel
