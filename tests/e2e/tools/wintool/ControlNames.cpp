#include "ControlNames.h"

#include <map>

#include "ui/ControlIds.h"

namespace quorvel::wintool {

std::optional<int> ControlId(const std::string& name) {
#define QUORVEL_CONTROL_ENTRY(controlName, id) {#controlName, id},
    static const std::map<std::string, int> kIds = {QUORVEL_CONTROLS(QUORVEL_CONTROL_ENTRY)};
#undef QUORVEL_CONTROL_ENTRY
    const auto found = kIds.find(name);
    if (found == kIds.end()) {
        return std::nullopt;
    }
    return found->second;
}

}  // namespace quorvel::wintool
