#pragma once

#include <windows.h>

#include <string>

namespace quorvel::simprobe {

// Runs one step against the loaded library and prints what came back:
//   <export>             an export without argument, or one with a pointer argument
//                        (GetDeviceNum, GetKeyCode), called as the program calls it
//   GetCardName:<i>      OpenCard:<i>
//   resolve:<export>     whether the export exists
//   beholder-polls:<stop-file>   compro-polls:<stop-file>
//                        poll every 20 ms, as the program does, until the stop file exists
//   sleep:<ms>           free
// False when the step could not run (unknown step, missing export).
bool RunStep(HMODULE& library, const std::string& step);

}  // namespace quorvel::simprobe
