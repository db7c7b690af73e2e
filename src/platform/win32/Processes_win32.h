#pragma once

#include "platform/Processes.h"

namespace quorvel {

class Win32Processes final : public Processes {
public:
    bool StartProcess(const ProcessLaunch& launch) override;
};

}  // namespace quorvel
