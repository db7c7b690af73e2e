#pragma once

#include <vector>

#include "model/Model.h"

namespace quorvel {

// Records which aspects of the model the logic said it changed, in order.
class RecordingObserver final : public ModelObserver {
public:
    std::vector<Aspect> changes;
    void Changed(Aspect aspect) override { changes.push_back(aspect); }
};

}  // namespace quorvel
