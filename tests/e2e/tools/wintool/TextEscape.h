#pragma once

#include <string>

namespace quorvel::wintool {

// Keeps one text on one tab-separated output line: backslash, tab, CR and LF become
// \\, \t, \r and \n.
std::string Escape(const std::string& text);

}  // namespace quorvel::wintool
