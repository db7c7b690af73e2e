#pragma once

#include <string>
#include <vector>

#include "platform/ProcessControl.h"

namespace quorvel {

// The process as the program sees it: named mutexes that other processes may already hold,
// whether this one holds its own, and whether it has been ended.
class FakeProcessControl final : public ProcessControl {
public:
    std::vector<std::string> heldElsewhere;  // mutex names another process created first
    bool mutexHeld = false;
    bool ended = false;

    bool AcquireInstanceMutex(const std::string& name) override {
        for (const std::string& taken : heldElsewhere) {
            if (taken == name) return false;
        }
        mutexHeld = true;
        return true;
    }
    void CloseInstanceMutex() override { mutexHeld = false; }
    void RaisePriority() override {}
    void EndNow() override { ended = true; }
};

}  // namespace quorvel
