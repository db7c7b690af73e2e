#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Handles.h"

namespace quorvel {

struct WindowFacts {
    std::string className;
    std::uint32_t processId = 0;
    bool visible = false;
    bool minimized = false;
    bool toolWindow = false;
    // The window belongs to this program.
    bool own = false;
    // Always on top.
    bool topmost = false;
};

// Top-level windows in Z order and the programs they belong to.
class ProgramWindows {
public:
    virtual ~ProgramWindows() = default;
    // The topmost top-level window, then the one below each.
    virtual WindowHandle TopWindow() = 0;
    virtual WindowHandle WindowBelow(WindowHandle window) = 0;
    virtual WindowFacts Facts(WindowHandle window) = 0;
    virtual std::vector<WindowHandle> ChildWindows(WindowHandle window) = 0;
    // The full path of the process's executable, or its file name alone where only that can be
    // read; empty when neither can (the process gone). A failure is logged once a process.
    virtual std::string ProcessImagePath(std::uint32_t processId) = 0;
    // The process runs with higher rights than this program (as administrator while this
    // program does not), so Windows drops the keys and mouse actions sent to it.
    virtual bool RunsWithHigherRights(std::uint32_t processId) = 0;
};

}  // namespace quorvel
