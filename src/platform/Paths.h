#pragma once

#include <string_view>

namespace quorvel {

// A Windows path cut after its last separator ('\', '/' or a drive's ':'): the folder keeps
// the separator ("C:\Tools\", "C:"), the file name is the rest; a bare name has no folder.
struct PathParts {
    std::string_view folder;
    std::string_view fileName;
};

PathParts SplitPath(std::string_view path);

}  // namespace quorvel
