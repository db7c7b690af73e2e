#pragma once

#include <string>
#include <vector>

#include "platform/Handles.h"

namespace quorvel {

class ProgramWindows;

// The executable's file name of the program the user works in, given the foreground window;
// empty when none can be told.
std::string ProgramInFront(ProgramWindows& windows, WindowHandle foreground);

// The file names of the programs with a window open where the user works, each once, the one
// in front first.
std::vector<std::string> ProgramsWithWindows(ProgramWindows& windows);

}  // namespace quorvel
