#pragma once

#include <windows.h>

#include <tlhelp32.h>

#include <optional>
#include <unordered_set>

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
    bool RunsWithHigherRights(std::uint32_t processId) override;

private:
    using QueryFullName = BOOL(QUORVEL_WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);
    using ImageFileName = DWORD(QUORVEL_WINAPI*)(HANDLE, LPWSTR, DWORD);
    using Snapshot = HANDLE(QUORVEL_WINAPI*)(DWORD, DWORD);
    using ProcessStep = BOOL(QUORVEL_WINAPI*)(HANDLE, PROCESSENTRY32W*);

    std::string ImagePathFromSnapshot(std::uint32_t processId);
    std::string ImagePathOfProcess(std::uint32_t processId);
    // A failure about a process is logged the first time only: the same program stays in
    // front for many presses, and the list of programs asks again each time it drops down.
    void LogFailure(std::uint32_t processId, const std::string& text);

    Log& log_;
    std::unordered_set<std::uint32_t> failedProcesses_;
    // Nothing where the system has no integrity levels (before Vista), which lets any program
    // send keys to any other.
    std::optional<DWORD> ownIntegrity_;
    QueryFullName queryFullName_ = nullptr;
    UniqueLibrary psapi_;
    ImageFileName imageFileName_ = nullptr;
    Snapshot snapshot_ = nullptr;
    ProcessStep firstProcess_ = nullptr;
    ProcessStep nextProcess_ = nullptr;
};

}  // namespace quorvel
