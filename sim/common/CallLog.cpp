#include "CallLog.h"

#include <algorithm>

namespace quorvel::sim {

CallLog::CallLog(Sink lineSink) : sink(std::move(lineSink)) {}

void CallLog::Record(const std::string& call) {
    EndRun();
    Write(call);
}

void CallLog::RecordPoll(const std::string& name) {
    auto entry = std::find_if(run.begin(), run.end(), [&](const auto& counted) { return counted.first == name; });
    if (entry != run.end()) {
        ++entry->second;
        return;
    }
    run.emplace_back(name, 1);
    Write(name);
}

std::string CallLog::Snapshot() const {
    std::vector<std::string> all = lines;
    for (const std::string& line : CountLines(run)) {
        all.push_back(line);
    }
    std::string joined;
    for (const std::string& line : all) {
        if (!joined.empty()) {
            joined += ',';
        }
        joined += line;
    }
    return joined;
}

void CallLog::EndRun() {
    const std::vector<std::string> counts = CountLines(run);
    run.clear();
    for (const std::string& line : counts) {
        Write(line);
    }
}

void CallLog::Write(const std::string& line) {
    lines.push_back(line);
    sink(line);
}

std::vector<std::string> CallLog::CountLines(const std::vector<std::pair<std::string, std::uint64_t>>& pollRun) {
    std::vector<std::string> counts;
    for (const auto& [name, count] : pollRun) {
        if (count > 1) {
            counts.push_back(name + " x" + std::to_string(count));
        }
    }
    return counts;
}

}  // namespace quorvel::sim
