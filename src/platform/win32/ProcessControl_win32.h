#pragma once

#include <windows.h>

#include "platform/Log.h"
#include "platform/ProcessControl.h"
#include "platform/win32/Win32Handles.h"

namespace quorvel {

class Win32ProcessControl final : public ProcessControl {
public:
    explicit Win32ProcessControl(Log& log) : log_(log) {}
    bool AcquireInstanceMutex(const std::string& name) override;
    void CloseInstanceMutex() override { instanceMutex_.Reset(); }
    void RaisePriority() override;
    void EndNow() override;

private:
    Log& log_;
    UniqueKernelHandle instanceMutex_;
};

}  // namespace quorvel
