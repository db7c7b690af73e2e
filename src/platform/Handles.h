#pragma once

#include <cstdint>

namespace quorvel {

// Opaque Win32 handles carried through the portable code. They are pointer-sized
// so that a 64-bit handle is never squeezed through a 32-bit integer.
enum class WindowHandle : std::uintptr_t {};
enum class ModuleHandle : std::uintptr_t {};

constexpr WindowHandle kNoWindow{};
constexpr ModuleHandle kNoModule{};

}  // namespace quorvel
