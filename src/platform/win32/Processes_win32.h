#pragma once

#include "platform/Log.h"
#include "platform/Processes.h"

namespace quorvel {

class Win32Processes final : public Processes {
public:
    explicit Win32Processes(Log& log) : log_(log) {}
    bool StartProcess(const ProcessLaunch& launch) override;

private:
    Log& log_;
};

}  // namespace quorvel
