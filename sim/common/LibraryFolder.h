#pragma once

#include <string>

namespace quorvel::sim {

// The full path of the library this code is linked into.
std::string LibraryPath();

// The folder of the library this code is linked into, with a trailing backslash: settings and
// logs sit beside the library, wherever the program's working folder is.
std::string LibraryFolder();

}  // namespace quorvel::sim
