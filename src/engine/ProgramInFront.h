#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Handles.h"

namespace quorvel {

class LetterCase;
class ProgramWindows;

struct FrontProgram {
    // The executable's file name; empty when none can be told.
    std::string name;
    std::uint32_t processId = 0;
};

// A window that comes in front for a moment without being where the user works: a task bar,
// the task switcher, a menu or the desktop.
bool IsPassingWindow(ProgramWindows& windows, WindowHandle window);

// The program the user works in, given the foreground window and the last window that was
// really in front before it (kNoWindow when none was seen).
FrontProgram ProgramInFront(ProgramWindows& windows, WindowHandle foreground, WindowHandle cameFrom);

// The file names of the programs with a window open where the user works, each once, the one
// in front first.
std::vector<std::string> ProgramsWithWindows(ProgramWindows& windows, const LetterCase& letterCase);

}  // namespace quorvel
