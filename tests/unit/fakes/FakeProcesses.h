#pragma once

#include <vector>

#include "platform/Processes.h"

namespace quorvel {

// Records every start request; answers as told, so callers can be checked against a failure.
class FakeProcesses final : public Processes {
public:
    bool StartProcess(const ProcessLaunch& launch) override {
        launches.push_back(launch);
        return startSucceeds;
    }

    std::vector<ProcessLaunch> launches;
    bool startSucceeds = true;
};

}  // namespace quorvel
