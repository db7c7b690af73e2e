#pragma once

#include <optional>
#include <string>

namespace quorvel::wintool {

// The dialog control id of one of Quorvel's main window controls, by its name.
std::optional<int> ControlId(const std::string& name);

}  // namespace quorvel::wintool
