#include "platform/Paths.h"

namespace quorvel {

PathParts SplitPath(std::string_view path) {
    const std::size_t separator = path.find_last_of("\\/:");
    if (separator == std::string_view::npos) return {{}, path};
    return {path.substr(0, separator + 1), path.substr(separator + 1)};
}

}  // namespace quorvel
