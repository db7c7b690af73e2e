#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace quorvel::sim {

// The order of the calls a program made into a substitute library, one line per call.
// The polling calls come every 50 ms, so a run of them is kept short: each one's first call
// is written when it happens and, when another call ends the run, "Name xN" gives how often
// it was called in that run altogether.
class CallLog {
public:
    using Sink = std::function<void(const std::string& line)>;

    explicit CallLog(Sink sink);

    void Record(const std::string& call);
    void RecordPoll(const std::string& name);
    // The lines so far, comma-separated, as if the current polling run ended now.
    std::string Snapshot() const;

private:
    void EndRun();
    void Write(const std::string& line);
    static std::vector<std::string> CountLines(const std::vector<std::pair<std::string, std::uint64_t>>& run);

    Sink sink;
    std::vector<std::string> lines;
    std::vector<std::pair<std::string, std::uint64_t>> run;
};

}  // namespace quorvel::sim
