#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "ButtonQueue.h"
#include "CallLog.h"
#include "SimConfig.h"

namespace quorvel::sim {

// The state behind one substitute library: its settings, its call log and the buttons the
// control channel has queued. The library's exports are called from the program's main
// thread and the control channel from its own threads, hence the lock.
class Simulator {
public:
    Simulator(std::string libraryName, std::uint16_t defaultControlPort);
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Read from QuorvelSim.ini beside the library on first use.
    const SimConfig& Config();
    void Record(const std::string& call);
    void RecordPoll(const std::string& name);
    // Opens the control channel on the first call only.
    void StartControl();
    std::optional<SimButton> Peek();
    std::optional<SimButton> Poll();

private:
    void AppendToLogFile(const std::string& line);

    const std::string libraryName;
    const std::string folder;
    const std::uint16_t defaultControlPort;
    std::once_flag configOnce;
    std::once_flag controlOnce;
    SimConfig config;
    std::mutex mutex;
    void* logFile = nullptr;
    CallLog log;
    ButtonQueue queue;
};

}  // namespace quorvel::sim
