#pragma once

#include <string>

namespace quorvel {

// What the program does to its own process at the start and at the end.
class ProcessControl {
public:
    virtual ~ProcessControl() = default;
    // Creates the named mutex owned by this process; false when another process made it first.
    virtual bool AcquireInstanceMutex(const std::string& name) = 0;
    virtual void CloseInstanceMutex() = 0;
    // Real-time class for the process, idle priority for the calling thread.
    virtual void RaisePriority() = 0;
    // Ends the process at once; nothing else runs.
    virtual void EndNow() = 0;
};

}  // namespace quorvel
