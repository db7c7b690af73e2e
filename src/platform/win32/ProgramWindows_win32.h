#pragma once

#include <windows.h>

#include <tlhelp32.h>

#include "platform/Log.h"
#include "platform/ProgramWindows.h"
#include "platform/StdCall.h"
#include "platform/win32/Win32Handles.h"

namespace quorvel {

class Win32ProgramWindows final : public ProgramWindows {
public:
    explicit Win32ProgramWindows(Log& log);

    WindowHandle TopWindow() override;
    WindowHandle WindowBelow(WindowHandle window) override;
    WindowFacts Facts(WindowHandle window) override;
    std::vector<WindowHandle> ChildWindows(WindowHandle window) override;
    std::string ProcessImagePath(std::uint32_t processId) override;

private:
    using QueryFullName = BOOL(QUORVEL_WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);
    using ImageFileName = DWORD(QUORVEL_WINAPI*)(HANDLE, LPWSTR, DWORD);
    using Snapshot = HANDLE(QUORVEL_WINAPI*)(DWORD, DWORD);
    using ProcessStep = BOOL(QUORVEL_WINAPI*)(HANDLE, PROCESSENTRY32W*);

    std::string ImagePathFromSnapshot(std::uint32_t processId);

    Log& log_;
    QueryFullName queryFullName_ = nullptr;
    UniqueLibrary psapi_;
    ImageFileName imageFileName_ = nullptr;
    Snapshot snapshot_ = nullptr;
    ProcessStep firstProcess_ = nullptr;
    ProcessStep nextProcess_ = nullptr;
};

}  // namespace quorvel
