#include "model/ButtonAction.h"

namespace quorvel {

const std::vector<std::string>& ActionNames() {
    static const std::vector<std::string> names = {"None",     "Sleep",       "Hibernate",
                                                   "Shutdown", "Change Mode", "Sleep Timer"};
    return names;
}

}  // namespace quorvel
