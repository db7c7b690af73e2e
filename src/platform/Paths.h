#pragma once

#include <string_view>

namespace quorvel {

// A Windows path cut after its last separator ('\', '/' or a drive's ':'): the folder keeps
// the separator ("C:\Tools\", "C:"), the file name is the rest; a bare name has no folder.
template <typename Char>
struct BasicPathParts {
    std::basic_string_view<Char> folder;
    std::basic_string_view<Char> fileName;
};
using PathParts = BasicPathParts<char>;
using WidePathParts = BasicPathParts<char16_t>;

template <typename Char>
BasicPathParts<Char> SplitPathOf(std::basic_string_view<Char> path) {
    constexpr Char kSeparators[] = {Char('\\'), Char('/'), Char(':'), Char()};
    const std::size_t separator = path.find_last_of(kSeparators);
    if (separator == std::basic_string_view<Char>::npos) return {{}, path};
    return {path.substr(0, separator + 1), path.substr(separator + 1)};
}

inline PathParts SplitPath(std::string_view path) { return SplitPathOf(path); }
inline WidePathParts SplitPath(std::u16string_view path) { return SplitPathOf(path); }

}  // namespace quorvel
