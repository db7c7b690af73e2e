#pragma once

#include <windows.h>

#include "platform/UniqueHandle.h"
#include "ui/ProcessControl.h"

namespace quorvel {

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { CloseHandle(handle); }
};

class Win32ProcessControl final : public ProcessControl {
public:
    bool AcquireInstanceMutex(const std::string& name) override;
    void CloseInstanceMutex() override { instanceMutex_.Reset(); }
    void RaisePriority() override;
    void EndNow() override;

private:
    UniqueHandle<KernelHandleTraits> instanceMutex_;
};

}  // namespace quorvel
