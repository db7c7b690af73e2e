#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "actions/Macro.h"

namespace quorvel {

class CodePage;
class Input;
class Log;
class PowerActions;
class Processes;
class SleepTimerSwitch;
class Timer;
class WindowSystem;
enum class EmulationMode;
struct Model;

struct MacroContext {
    Model& model;
    Input& input;
    WindowSystem& windows;
    Processes& processes;
    PowerActions& power;
    SleepTimerSwitch& sleepTimer;
    CodePage& codePage;
    Timer& timer;  // wakes the runner when a wait ends
    Log& log;
    std::function<void(EmulationMode)> selectMode;
};

// Macros as the tick sees them.
class MacroRuns {
public:
    virtual ~MacroRuns() = default;
    // Runs the button's macro now, or after the one that runs; with one already waiting, it
    // is dropped and the log says so.
    virtual void Run(Macro macro, const std::string& button) = 0;
    // Nothing runs and nothing waits.
    virtual bool Idle() const = 0;
};

// Runs macros off the tick: the steps up to a wait run at once, and a timer brings the rest, so
// that a wait never delays a poll. One macro runs at a time and one more may wait for it.
class MacroRunner final : public MacroRuns {
public:
    explicit MacroRunner(const MacroContext& context) : c_(context) {}

    void Run(Macro macro, const std::string& button) override;
    bool Idle() const override { return !running_; }
    // The timer: a wait ended.
    void OnTimer();
    // Ends the run and drops the waiting one; every key a macro holds is released.
    void Stop();

private:
    // Runs steps until a wait or the end, then the waiting macro.
    void Continue();
    void Perform(const MacroStep& step);
    void ReleaseHeld();

    MacroContext c_;
    std::optional<Macro> running_;
    std::optional<Macro> waiting_;
    std::size_t next_ = 0;
    // The combinations held down by the running macro, in the order they went down.
    std::vector<std::uint16_t> held_;
    bool performing_ = false;
};

}  // namespace quorvel
