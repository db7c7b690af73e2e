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
    // The full path of the process's executable; empty when it cannot be read (access denied,
    // the process gone).
    virtual std::string ProcessImagePath(std::uint32_t processId) = 0;
};

}  // namespace quorvel
